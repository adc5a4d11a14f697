// Catalog snapshots: what a server answered to each catalog statement, kept in a JSON file.
#pragma once

#include "backend/DbBackend.h"
#include "platform/Exceptions.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr const char* kSnapshotFormat = "sqlscripts-catalog-snapshot";
inline constexpr int kSnapshotVersion = 1;

struct TSnapshotStatement {
    std::string strSql;
    std::vector<TDbColumn> aColumns;
    std::vector<TDbRow> aRows;
    std::optional<TDiagRecord> error; // set when the statement failed
};

class CCatalogSnapshot {
public:
    // Parses a snapshot file; a missing or malformed file throws CDBException* naming the file and the
    // problem.
    static std::shared_ptr<const CCatalogSnapshot> Load(const std::string& strPath);
    // The loaded snapshot of that file, shared by every connection that has it open.
    static std::shared_ptr<const CCatalogSnapshot> Open(const std::string& strPath);
    // Writes the statements to strPath through a temporary file, so the file is complete or untouched.
    static void Save(const std::string& strPath, const std::vector<TSnapshotStatement>& aStatements,
                     const std::string& strSource);

    // The recorded answer to exactly this text, or null.
    const TSnapshotStatement* Find(std::string_view strSql) const;
    const std::string& GetPath() const { return m_strPath; }
    size_t GetCount() const { return m_aStatements.size(); }

private:
    std::string m_strPath;
    std::vector<TSnapshotStatement> m_aStatements;
    std::unordered_map<std::string_view, size_t> m_index;
};
