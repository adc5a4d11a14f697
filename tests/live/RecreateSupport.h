// What the live checks of --recreate and diff share: the server's limits (recreate/server-limits), databases
// described through catalog queries of the tests' own (recreate/describe), compared, and scripts applied
// batch by batch with the per-connection settings the server needs.
#pragma once

#include "LiveSupport.h"

#include <iostream>
#include <optional>
#include <set>

inline const std::filesystem::path kRecreateDir = kLiveDir / "recreate";

struct TLimits {
    std::set<std::string> leftOut;                            // "family" or "family.property"
    std::vector<std::pair<std::string, std::regex>> matching; // "family.property" and what its value matches
    std::vector<std::string> settings;
};

inline const TLimits& Limits() {
    static const TLimits limits = [] {
        TLimits read;
        for (const std::string& strLine : LiveLines("recreate/server-limits")) {
            const std::string strKey = strLine.substr(0, strLine.find('\t'));
            const size_t nPattern = strKey.find(" /");
            if (strKey.starts_with("set "))
                read.settings.push_back(strKey.substr(4));
            else if (nPattern != std::string::npos)
                read.matching.emplace_back(
                    strKey.substr(0, nPattern),
                    std::regex(strKey.substr(nPattern + 2, strKey.size() - nPattern - 3)));
            else if (strKey != "-")
                read.leftOut.insert(strKey);
        }
        return read;
    }();
    return limits;
}

// One line per object and property, "family object property: value", sorted; NULL and empty values give none.
struct TDescription {
    std::vector<std::string> aLines;
    std::set<std::string> names; // every family and "family.property" the queries have
};

inline void AddRow(const CRecordset& rs, const std::string& strFamily,
                   const std::vector<std::string>& aColumns, std::vector<std::string>& aLines) {
    std::vector<std::string> aValues;
    for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
        CString strValue;
        rs.GetFieldValue(i, strValue);
        aValues.push_back(strValue.Str());
    }
    for (size_t i = 1; i < aValues.size(); ++i)
        for (const auto& [strProperty, pattern] : Limits().matching)
            if (strProperty == strFamily + "." + aColumns[i] && std::regex_search(aValues[i], pattern))
                return;
    for (size_t i = 1; i < aValues.size(); ++i)
        if (!aValues[i].empty() && !Limits().leftOut.contains(strFamily + "." + aColumns[i]))
            aLines.push_back(strFamily + " " + aValues[0] + " " + aColumns[i] + ": " +
                             MakeVisible(aValues[i]));
}

inline TDescription Describe(const std::string& strDatabase) {
    CDatabase db;
    db.OpenEx(ConnectTo(strDatabase).c_str(), CDatabase::noOdbcDialog);
    std::vector<std::filesystem::path> aQueries(
        std::filesystem::directory_iterator(kRecreateDir / "describe"), {});
    std::sort(aQueries.begin(), aQueries.end());
    TDescription description;
    for (const std::filesystem::path& query : aQueries) {
        const std::string strFamily = query.stem().string();
        CRecordset rs(&db);
        rs.Open(CRecordset::snapshot, ReadWholeFile(query.string()).c_str());
        std::vector<std::string> aColumns;
        for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
            CODBCFieldInfo info;
            rs.GetODBCFieldInfo(i, info);
            aColumns.push_back(info.m_strName.Str());
            description.names.insert(strFamily + "." + aColumns.back());
        }
        description.names.insert(strFamily);
        for (; !rs.IsEOF() && !Limits().leftOut.contains(strFamily); rs.MoveNext())
            AddRow(rs, strFamily, aColumns, description.aLines);
    }
    std::sort(description.aLines.begin(), description.aLines.end());
    return description;
}

// "- line" only in the source, "+ line" only in the copy, in the order of the lines.
inline std::string Differences(const TDescription& source, const TDescription& copy,
                               const std::set<std::string>& ignored = {}) {
    std::vector<std::pair<std::string, char>> aMarked;
    for (const auto& [pFrom, pOther, chSign] :
         {std::tuple{&source, &copy, '-'}, std::tuple{&copy, &source, '+'}}) {
        std::vector<std::string> aOnly;
        std::set_difference(pFrom->aLines.begin(), pFrom->aLines.end(), pOther->aLines.begin(),
                            pOther->aLines.end(), std::back_inserter(aOnly));
        for (const std::string& strLine : aOnly)
            if (std::none_of(ignored.begin(), ignored.end(), [&](const std::string& strProperty) {
                    return strLine.starts_with(strProperty.substr(0, strProperty.find('.')) + " ") &&
                           strLine.find(" " + strProperty.substr(strProperty.find('.') + 1) + ": ") !=
                               std::string::npos;
                }))
                aMarked.emplace_back(strLine, chSign);
    }
    std::sort(aMarked.begin(), aMarked.end());
    std::string strDifferences;
    for (const auto& [strLine, chSign] : aMarked)
        strDifferences += std::string{chSign, ' '} + strLine + "\n";
    return strDifferences;
}

// ignored: "family.property" lines left out, such as a column's position, which a migration does not keep.
inline void ExpectAlike(const std::string& strSource, const std::string& strCopy,
                        const std::set<std::string>& ignored = {}) {
    const std::string strDifferences = Differences(Describe(strSource), Describe(strCopy), ignored);
    EXPECT_TRUE(strDifferences.empty()) << "- only in " << strSource << ", + only in " << strCopy << ":\n"
                                        << strDifferences;
}

// The settings of server-limits, then every file's batches in order. A refusal fails the test with its file
// and the server's answer, unless server-limits allows it: then it is printed. Returns the failed ones'
// count.
inline int Apply(CDatabase& db, const std::filesystem::path& dir, const std::vector<std::string>& aFiles) {
    for (const std::string& strSetting : Limits().settings)
        RunSql(db, "EXEC sp_babelfish_configure '" + strSetting + "', 'ignore'");
    const auto& matching = Limits().matching;
    int nRefused = 0;
    for (const std::string& strFile : aFiles)
        for (const auto& [strStatement, strAnswer] :
             RunBatches(db, Batches(ReadWholeFile((dir / strFile).string())))) {
            const std::string strRefusal = strFile + ": " + strAnswer + "\n" + strStatement + "\n";
            if (std::any_of(matching.begin(), matching.end(), [&strSql = strStatement](const auto& rule) {
                    return std::regex_search(strSql, rule.second);
                }))
                std::cout << "refused, as server-limits allows: " << strRefusal;
            else
                ADD_FAILURE() << "refused (" << ++nRefused << "): " << strRefusal;
        }
    return nRefused;
}

// The export's manifest: every script file (.sql) of the folder, once, in apply order.
inline std::vector<std::string> Manifest(const std::filesystem::path& dir) {
    const std::string strManifest = ReadWholeFile((dir / "manifest.txt").string());
    EXPECT_EQ(strManifest.find('\r'), std::string::npos) << "manifest.txt has LF line ends";
    std::vector<std::string> aFiles;
    std::istringstream in(strManifest);
    for (std::string strLine; std::getline(in, strLine);)
        aFiles.push_back(strLine);
    std::set<std::string> scripts;
    for (const auto& [strPath, strText] : FilesUnder(dir))
        if (strPath.ends_with(".sql"))
            scripts.insert(strPath);
    EXPECT_EQ(std::set<std::string>(aFiles.begin(), aFiles.end()), scripts);
    EXPECT_EQ(aFiles.size(), scripts.size()) << "a file listed twice";
    return aFiles;
}

// The settings of server-limits in a file of the test's own put first in an export's manifest, so that they
// hold on the connection that applies everything but the rows.
inline void AddServerSettings(const std::filesystem::path& dir) {
    std::string strSettings;
    for (const std::string& strSetting : Limits().settings)
        strSettings += "EXEC sp_babelfish_configure '" + strSetting + "', 'ignore'\nGO\n";
    WriteWholeFile((dir / "00-Settings.sql").string(), strSettings);
    const std::string strManifest = (dir / "manifest.txt").string();
    WriteWholeFile(strManifest, "00-Settings.sql\n" + ReadWholeFile(strManifest));
}
