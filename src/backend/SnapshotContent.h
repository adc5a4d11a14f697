// What a catalog snapshot holds, as written and as loaded: the statements and the server's answers.
#pragma once

#include "backend/DbBackend.h"
#include "platform/Exceptions.h"

#include <cstring>
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
    std::vector<TDbRowText> aRows;
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
    char* Append(size_t n) {
        if (m_nSize + n > m_nCapacity)
            Grow(m_nSize + n);
        m_nSize += n;
        return m_pData + m_nSize - n;
    }
    void Resize(size_t nSize) { m_nSize = nSize; } // at most the size it has
    char* Data() const { return m_pData; }
    size_t GetSize() const { return m_nSize; }
    size_t GetCapacity() const { return m_nCapacity; }

private:
    void Grow(size_t nSize);

    char* m_pData = nullptr;
    size_t m_nSize = 0;
    size_t m_nCapacity = 0;
};

// The row values of a loaded snapshot, one after another, each viewing its text in the file's.
class CSnapshotValues {
public:
    void Add(TDbValue value) { std::memcpy(m_values.Append(sizeof value), &value, sizeof value); }
    // Drops the values from nCount on.
    void Truncate(size_t nCount) { m_values.Resize(nCount * sizeof(TDbValue)); }
    size_t GetCount() const { return m_values.GetSize() / sizeof(TDbValue); }
    TDbRow Get(size_t nFirst, size_t nCount) const {
        return {reinterpret_cast<const TDbValue*>(m_values.Data()) + nFirst, nCount};
    }

private:
    CGrowingMap m_values;
};

// A statement as loaded: its rows are the snapshot's values from nFirstValue on, a value for each column a
// row.
struct TSnapshotEntry {
    std::string_view strSql;                          // in the file's text
    const std::vector<TDbColumn>* pColumns = nullptr; // shared by the statements of the same columns
    std::unique_ptr<TDiagRecord> pError;              // set when the statement failed: nothing else counts
    size_t nFirstValue = 0;
    size_t nRows = 0;
};

// What a snapshot file holds: its text, which the statements and values view, and what was read from it.
struct TSnapshotContent {
    // The bytes of the text from p on, and of the padding after it, which simdjson may read.
    size_t RoomFrom(const char* p) const { return text.GetCapacity() - static_cast<size_t>(p - text.Data()); }

    CGrowingMap text;                 // the file's bytes, with room for simdjson's padding after them
    std::deque<std::string> aDecoded; // strings with escapes of a file of version 1, decoded
    std::vector<TSnapshotEntry> aEntries;
    std::deque<std::vector<TDbColumn>> aColumnLists; // which the entries point to
    CSnapshotValues values;
    std::string strSource;   // what the header says the snapshot holds
    std::string strCutShort; // why its recording ended early; empty when it ran to its end
};
