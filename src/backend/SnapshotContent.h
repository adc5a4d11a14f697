// What a catalog snapshot holds, as written and as loaded: the statements and the server's answers.
#pragma once

#include "backend/DbBackend.h"
#include "platform/Exceptions.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kSnapshotFormat = "sqlscripts-catalog-snapshot";
inline constexpr int kSnapshotVersion = 2;

// A statement and the server's answer, as a recording holds it before it is written.
struct TSnapshotStatement {
    std::string strSql;
    std::vector<TDbColumn> aColumns;
    std::vector<TDbRow> aRows;
    std::optional<TDiagRecord> error; // set when the statement failed
};

// An array that grows at its end in memory mapped for it alone. Growing moves it without copying
// (mremap), so it is addressed by offset. The kernel may back it with huge pages: a load fills hundreds
// of megabytes, and faulting them in a page of 4 KB at a time took longer than reading the file.
class CGrowingMap {
public:
    CGrowingMap() = default;
    CGrowingMap(CGrowingMap&& other) noexcept;
    CGrowingMap& operator=(CGrowingMap&& other) noexcept;
    ~CGrowingMap();

    // n more bytes at the end, to be written.
    char* Append(size_t n);
    void Resize(size_t nSize) { m_nSize = nSize; } // at most the size it has
    const char* Data() const { return m_pData; }
    size_t GetSize() const { return m_nSize; }

private:
    char* m_pData = nullptr;
    size_t m_nSize = 0;
    size_t m_nCapacity = 0;
};

// The row values of a loaded snapshot, one after another: their bytes, and where each ends.
class CSnapshotValues {
public:
    void Add(std::string_view str);
    void AddNull();
    // Drops the values from nCount on.
    void Truncate(size_t nCount);
    size_t GetCount() const { return m_ends.GetSize() / sizeof(std::uint64_t); }
    // The value's text; none for NULL.
    std::optional<std::string_view> Get(size_t nIndex) const;

private:
    static constexpr std::uint64_t kNull = std::uint64_t(1) << 63;
    std::uint64_t End(size_t nIndex) const;

    CGrowingMap m_bytes;
    CGrowingMap m_ends; // per value the offset in m_bytes after it, with kNull for NULL
};

// A statement as loaded: its rows stay in the snapshot's values, a value for each column a row.
struct TSnapshotEntry {
    std::string strSql;
    const std::vector<TDbColumn>* pColumns = nullptr; // shared by the statements of the same columns
    std::unique_ptr<TDiagRecord> pError;              // set when the statement failed: nothing else counts
    size_t nFirstValue = 0;
    size_t nRows = 0;
};

// What a snapshot file holds.
struct TSnapshotContent {
    std::vector<TSnapshotEntry> aEntries;
    std::deque<std::vector<TDbColumn>> aColumnLists; // which the entries point to
    CSnapshotValues values;
    std::string strSource;   // what the header says the snapshot holds
    std::string strCutShort; // why its recording ended early; empty when it ran to its end
};
