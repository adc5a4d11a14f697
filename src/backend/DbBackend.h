// What CDatabase and CRecordset need of a data source: the ODBC driver, or a recorded catalog snapshot.
#pragma once

#include "platform/Exceptions.h"
#include "platform/String.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct TDbColumn {
    std::string strName;
    std::string strTypeName; // the server's type name (nvarchar, int, ...)
    SWORD nSqlType = 0;
    std::uint64_t nPrecision = 0;
    SWORD nScale = 0;
    SWORD nNullability = 0;
};

// A value as fetched: UTF-8 text (numbers in decimal) or SQL NULL. It views text that its result holds, in
// 12 bytes, packed, since a loaded snapshot keeps one for each of millions of values; text of 4 GB or more,
// which only a large value near its 2 GB limit could give as UTF-8, is refused.
class [[gnu::packed]] TDbValue {
public:
    TDbValue() = default; // NULL
    TDbValue(std::string_view str)
        : m_pText(str.data() ? str.data() : ""), m_nLength(static_cast<std::uint32_t>(str.size())) {
        if (str.size() > UINT32_MAX)
            throw std::length_error("a value of 4 GB or more");
    }
    explicit operator bool() const { return m_pText != nullptr; }
    // The text; empty for NULL.
    std::string_view operator*() const { return {m_pText ? m_pText : "", m_nLength}; }
    bool operator==(const TDbValue& other) const { return bool(*this) == bool(other) && **this == *other; }

private:
    const char* m_pText = nullptr;
    std::uint32_t m_nLength = 0;
};

// A row as fetched: a value for each column.
using TDbRow = std::span<const TDbValue>;
// A row that holds its text, as a driver's values are read or a program writes them.
using TDbRowText = std::vector<std::optional<std::string>>;

// Views of the row's values, in aValues.
TDbRow ViewRow(const TDbRowText& row, std::vector<TDbValue>& aValues);

// Rows held by whoever copied them, each in place for as long as the holder lives.
class CHeldRows {
public:
    TDbRow Add(TDbRow row);
    TDbRow Add(TDbRowText row);

private:
    std::deque<std::string> m_aTexts; // a deque: adding moves none, so views of them hold
    std::deque<std::vector<TDbValue>> m_aRows;
};

// The rows of one executed statement, read front to back.
class CDbResult {
public:
    virtual ~CDbResult() = default;
    virtual const std::vector<TDbColumn>& Columns() const = 0;
    // The next row, whose values are valid until the next call; none at the end.
    virtual std::optional<TDbRow> Fetch() = 0;
    // How many rows the result holds in all, -1 while they are still on the server.
    virtual long RowCount() const { return -1; }
    // True when the values of every row fetched stay valid, unchanged, as long as the result lives.
    virtual bool KeepsRows() const { return false; }
};

// A result held whole in memory.
class CRowsResult : public CDbResult {
public:
    CRowsResult(std::vector<TDbColumn> aColumns, std::vector<TDbRowText> aRows);
    const std::vector<TDbColumn>& Columns() const override { return m_aColumns; }
    std::optional<TDbRow> Fetch() override {
        return m_nNext < m_aRows.size() ? std::optional(m_aRows[m_nNext++]) : std::nullopt;
    }
    long RowCount() const override { return static_cast<long>(m_aRows.size()); }
    bool KeepsRows() const override { return true; }

private:
    std::vector<TDbColumn> m_aColumns;
    CHeldRows m_held;
    std::vector<TDbRow> m_aRows;
    size_t m_nNext = 0;
};

// Runs work, which executes or reads strSql: a database error it throws names that statement, unless it
// names one already.
template <class TWork> auto NamingStatement(const std::string& strSql, TWork&& work) -> decltype(work()) {
    try {
        return work();
    } catch (CDBException* e) {
        if (e->m_strStatement.IsEmpty())
            e->m_strStatement = strSql;
        throw;
    }
}

class CCatalogSnapshot;

// Hears what the server answers to a script's batch besides refusing it, in the order it comes.
class IBatchListener {
public:
    virtual ~IBatchListener() = default;
    // The rows a statement affected (INSERT, UPDATE, DELETE, ...). A result set's rows are read and let go.
    virtual void OnRowCount(long nRows) = 0;
    // A message that is not an error: PRINT, a warning, a change of database.
    virtual void OnMessage(const TDiagRecord& message) = 0;
};

class CDbConnection {
public:
    virtual ~CDbConnection() = default;
    // bBuffered: read every row now and release the server statement (snapshot cursors).
    virtual std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool bBuffered) = 0;
    // The statements in one round trip, a whole result each, in their order; each is executed as if sent
    // alone. Throws CDBException* when any of them fails.
    virtual std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>& aSql) = 0;
    // A forward-only read that the caller reads to its end, row by row (a table's rows): a recording writes
    // the rows as they come instead of holding them, and leaves the statement out when the reader stops
    // early.
    virtual std::unique_ptr<CDbResult> ExecuteStream(const std::string& strSql) {
        return Execute(strSql, false);
    }
    // A batch of any statements, as a script holds them between two GO lines: every result is read to its end
    // (rows counted, not kept), so that the connection is free again. Throws CDBException* with the server's
    // errors once the batch has ended; a backend that runs only catalog statements refuses it so.
    virtual void ExecuteScript(const std::string& strBatch, IBatchListener& listener);
    virtual void SetQueryTimeout(DWORD dwSeconds) = 0;
    // Stops the statement under way on this connection from any thread (SQLCancel); the call running it
    // then throws CDBException*. Does nothing when no statement runs.
    virtual void Cancel() {}
    // The database the connection reads, as the server names it, without asking the server; empty when not
    // known (a snapshot that was recorded without it).
    virtual std::string GetDatabaseName() const { return {}; }
    // The recorded catalog a replay answers from; null for a server.
    virtual const CCatalogSnapshot* GetSnapshot() const { return nullptr; }
};

// Cancels the statement under way on every connection the process has open, from any thread. A driver may
// wait for the server to take the cancel, so a caller that must not wait calls it from a thread of its own.
void CancelAllDbConnections();

// What a program sets for every connection it opens from then on: the seconds a login may take (0: the
// driver's own limit), and the seconds each statement may wait for the server, which then holds in place
// of what SetQueryTimeout asks (0: no limit).
struct TDbTimeouts {
    DWORD dwLoginSeconds = 0;
    std::optional<DWORD> statementSeconds;
};
void SetDbTimeouts(const TDbTimeouts& timeouts);

// Opens the backend that the connect string names (SNAPSHOT=, SAVE_SNAPSHOT= or plain ODBC).
std::unique_ptr<CDbConnection> OpenDbConnection(const std::string& strConnect);

// Backend constructors, each in its own unit.
std::unique_ptr<CDbConnection> OpenOdbcConnection(const std::string& strConnect);
std::unique_ptr<CDbConnection> OpenSnapshotReplay(const std::string& strPath, const std::string& strOptions);
std::unique_ptr<CDbConnection> OpenSnapshotRecorder(const std::string& strPath,
                                                    const std::string& strConnect);

// Every snapshot being recorded ends with the reason why its run stopped early, which a replay tells.
void CutShortSnapshotRecordings(const std::string& strReason);
// The same for a program that ends without waiting for its connections: each snapshot is ended and named now,
// and records nothing after that. Safe from any thread.
void FinishSnapshotRecordings(const std::string& strReason);
