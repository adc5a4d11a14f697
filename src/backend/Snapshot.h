// Catalog snapshots: what a server answered to each catalog statement, kept in a file of JSON lines.
#pragma once

#include "backend/SnapshotContent.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

    // Writes this snapshot to strPath in the current version, through a temporary file.
    void SaveAs(const std::string& strPath) const;

    // The recorded answer to exactly this text, or null.
    const TSnapshotEntry* Find(std::string_view strSql) const;
    // Row nRow of the entry, valid as long as the snapshot.
    TDbRow GetRow(const TSnapshotEntry& entry, size_t nRow) const;
    const std::string& GetPath() const { return m_strPath; }
    size_t GetCount() const { return m_content.aEntries.size(); }
    // Why the recording stopped before the end of its run (the connection was lost, the run was
    // interrupted); empty for a complete snapshot.
    const std::string& GetCutShort() const { return m_content.strCutShort; }
    // The database recorded; empty when the snapshot does not say.
    const std::string& GetDatabase() const { return m_content.strDatabase; }

private:
    std::string m_strPath;
    TSnapshotContent m_content;
    std::unordered_map<std::string_view, size_t> m_index;
};
