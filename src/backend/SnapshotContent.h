// What a catalog snapshot holds, as written and as loaded: the statements and the server's answers.
#pragma once

#include "backend/DbBackend.h"
#include "platform/Exceptions.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
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

// A snapshot file's bytes, read on a thread of their own into one buffer while the lines already read are
// parsed. Read rather than mapped: a file that another program cuts short meanwhile reads as text that ends
// early, where a mapping would fault. What the file gains after it was opened is left out.
class CSnapshotText {
public:
    // Reads the file of nSize bytes open at fd, which stays open as long as this lives.
    CSnapshotText(int fd, size_t nSize, const std::string& strPath);
    CSnapshotText(const CSnapshotText&) = delete;
    CSnapshotText& operator=(const CSnapshotText&) = delete;
    ~CSnapshotText();

    const char* Data() const { return m_text.Data(); }
    // The next line into line, without its line end, once it and the padding after it, which simdjson may
    // read, are read; false at the end of the text, with line left empty where the last one ended.
    bool NextLine(std::string_view& line);
    // All of the text, once read; no line is left after it.
    std::string_view All() { return {Data(), m_nNext = WaitFor(m_nSize + 1)}; }
    // The bytes of the text from p on, and of the padding after it.
    size_t RoomFrom(const char* p) const { return m_text.GetCapacity() - static_cast<size_t>(p - Data()); }

private:
    // How many bytes are read once nEnd are, or the read ended. Throws CDBException* when the read failed.
    size_t WaitFor(size_t nEnd);
    void Read();

    CGrowingMap m_text;
    const int m_fd;
    const size_t m_nSize;
    const std::string m_strPath;
    size_t m_nNext = 0; // where the next line begins
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::atomic<size_t> m_nRead = 0; // bytes read so far, looked at without the lock while they suffice
    bool m_bDone = false;            // the read ended
    int m_nError = 0;                // why it failed
    std::atomic<bool> m_bStop = false;
    std::thread m_thread; // last: it starts once the rest is in place
};

// What a snapshot file holds: its text, which the statements and values view, and what was read from it.
struct TSnapshotContent {
    std::unique_ptr<CSnapshotText> pText;
    std::deque<std::string> aDecoded; // strings with escapes of a file of version 1, decoded
    std::vector<TSnapshotEntry> aEntries;
    std::deque<std::vector<TDbColumn>> aColumnLists; // which the entries point to
    CSnapshotValues values;
    std::string strSource;   // what the header says the snapshot holds
    std::string strDatabase; // the database recorded, as the server named it; empty when not known
    std::string strCutShort; // why its recording ended early; empty when it ran to its end
};
