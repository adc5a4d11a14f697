// A script file read as batches, a piece at a time, so that a file of any size takes little memory: a UTF-8
// byte-order mark at its start is left out, lines end with CR LF or LF, and a line that is not UTF-8 stops
// the reading.
#pragma once

#include "apply/BatchSplitter.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CScriptReader {
public:
    // Reads the file at strPath; throws CFileException* when it cannot be opened.
    explicit CScriptReader(const std::string& strPath);
    // Reads a script held in memory (standard input, read before), its first nLength bytes.
    CScriptReader(std::shared_ptr<const std::string> pText, size_t nLength);
    CScriptReader(const CScriptReader&) = delete;
    CScriptReader& operator=(const CScriptReader&) = delete;
    ~CScriptReader();

    // The next batch; none after the last. Throws CScriptException* for a line that is not UTF-8 or a wrong
    // GO line, CFileException* when reading fails.
    std::optional<TScriptBatch> Next();

private:
    // The next line, its line end included; false at the end of the text.
    bool NextLine(std::string_view& strLine);
    void Fill();

    std::string m_strPath;
    int m_nFile = -1;
    std::shared_ptr<const std::string> m_pText;
    std::vector<char> m_aBuffer;
    size_t m_nStart = 0; // of the unread text in the buffer
    size_t m_nEnd = 0;
    bool m_bAtEnd = false; // of the file: nothing more to read into the buffer
    bool m_bFirst = true;  // the first line, which may start with a byte-order mark
    bool m_bFinished = false;
    CBatchSplitter m_splitter;
};
