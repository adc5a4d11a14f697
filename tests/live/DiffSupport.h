// What the live checks of diff share: a database's rows read by an independent query, and a migration written
// by sqlscripts diff applied to a database and checked: no statement refused, the database then described as
// the other, nothing more to do, every row of the tables it keeps kept.
#pragma once

#include "RecreateSupport.h"

inline const std::filesystem::path kDiffDir = kLiveDir / "diff";

// A table's rows, each as its columns' values by name, and what each column is: its type, or empty for a
// computed one.
using TRow = std::map<std::string, std::string>;
struct TTable {
    std::map<std::string, std::string> columns;
    std::multiset<TRow> rows;
};
using TTableRows = std::map<std::string, TTable>;

// Every row of every table of the database, read by an independent query of the test's own.
inline TTableRows ReadRows(CDatabase& db) {
    const auto bracketed = [](const CString& str) {
        std::string strQuoted = "[";
        for (const char ch : str.Str())
            strQuoted += ch == ']' ? "]]" : std::string(1, ch);
        return strQuoted + "]";
    };
    // The columns of every table in one statement: this server answers each catalog statement slowly.
    TTableRows rows;
    CRecordset columns(&db);
    columns.Open(
        CRecordset::snapshot,
        "SELECT SCHEMA_NAME(t.schema_id), t.name, c.name, CASE WHEN c.is_computed = 1 THEN '' ELSE "
        "CONCAT(TYPE_NAME(c.user_type_id), ' ', c.max_length, ' ', c.precision, ' ', c.scale) END FROM "
        "sys.columns c JOIN sys.tables t ON t.object_id = c.object_id");
    for (; !columns.IsEOF(); columns.MoveNext()) {
        CString strSchema, strTable, strColumn, strType;
        columns.GetFieldValue(static_cast<short>(0), strSchema);
        columns.GetFieldValue(static_cast<short>(1), strTable);
        columns.GetFieldValue(static_cast<short>(2), strColumn);
        columns.GetFieldValue(static_cast<short>(3), strType);
        rows[bracketed(strSchema) + "." + bracketed(strTable)].columns[strColumn.Str()] = strType.Str();
    }
    for (auto& [strTable, table] : rows) {
        CRecordset rs(&db);
        rs.Open(CRecordset::snapshot, ("SELECT * FROM " + strTable).c_str());
        std::vector<std::string> aColumns;
        for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
            CODBCFieldInfo info;
            rs.GetODBCFieldInfo(i, info);
            aColumns.push_back(info.m_strName.Str());
        }
        std::multiset<TRow>& tableRows = table.rows;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            TRow row;
            for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
                CString strValue;
                rs.GetFieldValue(i, strValue);
                row[aColumns[static_cast<size_t>(i)]] = strValue.Str();
            }
            tableRows.insert(std::move(row));
        }
    }
    return rows;
}

// The values of the columns that both readings have, of the same type and not computed: what a migration
// must keep of a table it keeps.
inline std::multiset<TRow> Kept(const TTable& table, const TTable& other) {
    std::multiset<TRow> kept;
    for (const TRow& row : table.rows) {
        TRow projected;
        for (const auto& [strColumn, strValue] : row) {
            const auto it = other.columns.find(strColumn);
            if (it != other.columns.end() && !it->second.empty() && it->second == table.columns.at(strColumn))
                projected[strColumn] = strValue;
        }
        kept.insert(std::move(projected));
    }
    return kept;
}

inline void ExpectRowsKept(const TTableRows& before, const TTableRows& after) {
    for (const auto& [strTable, table] : after) {
        const auto it = before.find(strTable);
        if (it != before.end()) {
            EXPECT_EQ(Kept(it->second, table), Kept(table, it->second)) << strTable << ": rows differ";
        }
    }
}

// A side of a diff: a catalog snapshot file or a folder as it is, a database of the server by its name.
inline std::string DiffSide(const std::string& strSide) {
    return std::filesystem::exists(strSide) ? strSide : ConnectTo(strSide);
}

inline THostRun Diff(const std::string& strFrom, const std::string& strTo,
                     std::vector<std::string> aOptions) {
    aOptions.insert(aOptions.begin(), {"diff", DiffSide(strFrom), DiffSide(strTo)});
    return RunHost(aOptions, std::filesystem::temp_directory_path().string(), {}, std::nullopt);
}

// diff FROM TO's migration applied to FROM: no statement refused, FROM then described as the database strLike
// (TO itself, or the one TO's snapshot was recorded of), nothing more to do, and every row of the tables FROM
// keeps kept.
inline void ExpectMigrated(TScratchDatabase& from, const std::string& strTo, const std::string& strLike) {
    const CTempDir dir;
    const std::string strScript = dir.File("migration.sql");
    const THostRun run =
        Diff(from.strName, strTo, {"--script", strScript, "--drop", "--allow-data-loss", "--allow-rebuild"});
    ASSERT_EQ(run.nStatus, 1) << run.strErr;
    const TTableRows before = ReadRows(from.db);
    for (const auto& [strStatement, strAnswer] : RunBatches(from.db, Batches(ReadWholeFile(strScript))))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(strLike, from.strName, {"column.position"});
    const THostRun again = Diff(from.strName, strTo, {});
    EXPECT_EQ(again.nStatus, 0) << "a second diff still finds:\n" << again.strOut << again.strErr;
    ExpectRowsKept(before, ReadRows(from.db));
}
