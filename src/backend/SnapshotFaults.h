// Faults of a replayed server, for testing what the module does when a catalog statement fails.
//
// The options after the snapshot path in the connect string name them:
//   SNAPSHOT=<file>;FAIL_STATEMENT=<n>[;FAIL_SQLSTATE=<state>]
// makes the n-th statement executed on that snapshot (1-based, counted over every connection that has it
// open, so pooled connections included) fail with the SQLSTATE given: "42000" by default, as a recorded
// server error; "08S01" as a lost connection. The count starts again when the last connection closes.
// Other options are left to the replay backend.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

class CSnapshotFault {
public:
    // The fault the options ask for, shared by the connections of that snapshot; null when they ask none.
    // A malformed FAIL_ option throws CDBException*.
    static std::shared_ptr<CSnapshotFault> FromOptions(const std::string& strOptions, const void* pSnapshot);

    // Counts one statement and shows it to the observer, in one step so that both see the same order;
    // throws the injected CDBException* when it is the one that fails.
    void BeforeExecute(const std::string& strSql);

private:
    CSnapshotFault(size_t nFailStatement, std::string strSqlState)
        : m_nFailStatement(nFailStatement), m_strSqlState(std::move(strSqlState)) {}

    size_t m_nFailStatement;
    std::string m_strSqlState;
    std::mutex m_mutex;
    size_t m_nExecuted = 0;
};

// Calls the observer with the text of every statement sent to any replayed snapshot, before it is looked
// up; an empty function stops it. Tests use it to see the exact statements and to count them.
void SetSnapshotStatementObserver(std::function<void(const std::string&)> observer);
void NotifySnapshotStatement(const std::string& strSql);
