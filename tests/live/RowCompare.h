// Two databases' rows compared value by value on the server itself, with no client between: a line for each
// table whose rows differ, by the rules of data/compare for each system type.
#pragma once

#include "LiveSupport.h"

using TColumns = std::vector<std::pair<std::string, std::string>>; // name, system type

// A name in brackets, ] doubled: built here, since this server's QUOTENAME doubles quotes as well.
inline std::string Bracketed(const std::string& strName) {
    return "[" + std::regex_replace(strName, std::regex("\\]"), "]]") + "]";
}

// Each table's columns that hold values of their own (no computed ones), by "[schema].[table]".
inline std::map<std::string, TColumns> TablesOf(CDatabase& db) {
    const nlohmann::json answer =
        Answer(db, "SELECT s.name AS sch, t.name AS tbl, c.name AS col, TYPE_NAME(c.system_type_id) AS typ "
                   "FROM sys.tables t JOIN sys.schemas s ON s.schema_id = t.schema_id JOIN sys.columns c ON "
                   "c.object_id = t.object_id WHERE c.is_computed = 0 ORDER BY s.name, t.name, c.column_id");
    std::map<std::string, TColumns> tables;
    for (const nlohmann::json& row : answer.at("rows"))
        tables[Bracketed(row[0]) + "." + Bracketed(row[1])].emplace_back(row[2], row[3]);
    return tables;
}

// The select list that compares the columns, from the rules of data/compare.
inline std::string Compared(const TColumns& aColumns) {
    static const std::map<std::string, std::string> rules = [] {
        std::map<std::string, std::string> map;
        for (const std::string& strLine : LiveLines("data/compare"))
            map[strLine.substr(0, strLine.find('\t'))] =
                strLine.find('\t') == std::string::npos ? "" : strLine.substr(strLine.find('\t') + 1);
        return map;
    }();
    std::string strList;
    for (const auto& [strName, strType] : aColumns) {
        const std::string strRule = rules.count(strType) ? rules.at(strType) : rules.at("*");
        if (!strRule.empty())
            strList += (strList.empty() ? "" : ", ") +
                       std::regex_replace(strRule, std::regex("\\{c\\}"), Bracketed(strName));
    }
    return strList;
}

// One line for each table of database A whose rows differ in B: the row counts, and the rows each side has
// that the other has not.
inline std::vector<std::string> RowDifferences(const std::string& strA, const std::string& strB) {
    CDatabase db;
    db.OpenEx(ConnectTo(strA).c_str(), CDatabase::noOdbcDialog);
    std::vector<std::string> aDifferences;
    for (const auto& [strTable, aColumns] : TablesOf(db)) {
        const std::string strList = Compared(aColumns), strInA = "[" + strA + "]." + strTable,
                          strInB = "[" + strB + "]." + strTable;
        const nlohmann::json answer = Answer(
            db, "SELECT (SELECT COUNT(*) FROM " + strInA + "), (SELECT COUNT(*) FROM " + strInB +
                    "), (SELECT COUNT(*) FROM (SELECT " + strList + " FROM " + strInA + " EXCEPT SELECT " +
                    strList + " FROM " + strInB + ") AS a), (SELECT COUNT(*) FROM (SELECT " + strList +
                    " FROM " + strInB + " EXCEPT SELECT " + strList + " FROM " + strInA + ") AS b)");
        if (answer.contains("error")) {
            aDifferences.push_back(strTable + ": " + answer["error"].dump());
            continue;
        }
        const nlohmann::json& row = answer["rows"][0];
        if (row[0] != row[1] || row[2] != "0" || row[3] != "0")
            aDifferences.push_back(strTable + ": rows " + row.dump() + " (counts, then only in each)");
    }
    return aDifferences;
}
