// Writes a catalog snapshot a line at a time: a statement and its rows as they come, so that writing needs
// no more memory for a large catalog than for a small one.
#pragma once

#include "backend/DbBackend.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

class CSnapshotWriter {
public:
    // Starts the file under a temporary name beside strPath, with its header line, which names the database
    // recorded when strDatabase is not empty. Throws CFileException*.
    CSnapshotWriter(const std::string& strPath, const std::string& strSource,
                    const std::string& strDatabase = {});
    CSnapshotWriter(const CSnapshotWriter&) = delete;
    CSnapshotWriter& operator=(const CSnapshotWriter&) = delete;
    // A file never finished is removed.
    ~CSnapshotWriter();

    void WriteStatement(std::string_view strSql, const std::vector<TDbColumn>& aColumns);
    // A row of the last statement written.
    void WriteRow(TDbRow row);
    void WriteError(std::string_view strSql, const TDiagRecord& error);
    // Writes the end line, which says whether the recording ran to its end (strCutShort empty) or why not,
    // and gives the file its name. Throws CFileException*.
    void Finish(const std::string& strCutShort);

    // A spool: statements written into a file of their own beside strBeside, with no header and no end,
    // removed with the writer. A statement whose rows come a few at a time goes there while other statements
    // are written to the snapshot, and is appended whole when its rows are all there.
    struct TSpool {};
    CSnapshotWriter(TSpool, const std::string& strBeside);
    // Appends what the spool holds. Throws CFileException*.
    void Append(CSnapshotWriter& spool);

private:
    // Ends the line being written with pszEnd.
    void WriteLine(const char* pszEnd);

    std::string m_strPath;
    CTemporaryFileName m_temporary;
    std::ofstream m_out;
    std::string m_strLine;             // being written
    std::vector<bool> m_aWholeNumbers; // of the last statement's columns
    bool m_bFinished = false;
};
