// The one error of the catalog model and of what is made from it (the faithful scripts, the rows, the files
// a command writes): what was being read or written, the statement when one was sent, and why it failed.
#pragma once

#include <stdexcept>
#include <string>

enum class eModelTask {
    ReadCatalog, // a family of the catalog: the subject is the family's name
    ReadRows,    // a table's rows: the subject is schema.table
    WriteValue,  // a value of a table's rows: the subject names the table, the column and its type
    WriteFile,   // a file: the subject is its path
    MakeFolder,  // a folder that files go into: the subject is its path
};

class CModelError : public std::runtime_error {
public:
    CModelError(eModelTask eTask, std::string strSubject, std::string strReason,
                std::string strStatement = {})
        : std::runtime_error(strSubject + ": " + strReason), m_eTask(eTask),
          m_strSubject(std::move(strSubject)), m_strReason(std::move(strReason)),
          m_strStatement(std::move(strStatement)) {}

    eModelTask Task() const { return m_eTask; }
    const std::string& Subject() const { return m_strSubject; }
    // The server's words, or what was wrong with its answer or the value.
    const std::string& Reason() const { return m_strReason; }
    // The statement that failed; empty when none was sent.
    const std::string& Statement() const { return m_strStatement; }

private:
    eModelTask m_eTask;
    std::string m_strSubject;
    std::string m_strReason;
    std::string m_strStatement;
};
