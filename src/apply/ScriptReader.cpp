#include "apply/ScriptReader.h"

#include <simdjson.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kChunk = 1 << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

CScriptReader::CScriptReader(const std::string& strPath) : m_strPath(strPath) {
    m_nFile = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_nFile < 0)
        AfxThrowFileException(errno == ENOENT ? CFileException::fileNotFound
                                              : CFileException::genericException,
                              errno, strPath.c_str());
    m_aBuffer.resize(kChunk);
}

CScriptReader::CScriptReader(std::shared_ptr<const std::string> pText, size_t nLength)
    : m_pText(std::move(pText)) {
    m_nEnd = std::min(m_pText->size(), nLength);
    m_bAtEnd = true;
}

CScriptReader::~CScriptReader() {
    if (m_nFile >= 0)
        ::close(m_nFile);
}

std::optional<TScriptBatch> CScriptReader::Next() {
    std::string_view strLine;
    while (NextLine(strLine)) {
        if (!simdjson::validate_utf8(strLine.data(), strLine.size()))
            throw new CScriptException(CScriptException::notUtf8, m_splitter.LineCount() + 1);
        if (std::optional<TScriptBatch> batch = m_splitter.AddLine(strLine))
            return batch;
    }
    if (m_bFinished)
        return std::nullopt;
    m_bFinished = true;
    return m_splitter.Finish();
}

bool CScriptReader::NextLine(std::string_view& strLine) {
    for (;;) {
        const char* pText = m_pText ? m_pText->data() : m_aBuffer.data();
        const std::string_view strUnread(pText + m_nStart, m_nEnd - m_nStart);
        const size_t nEnd = strUnread.find('\n');
        if (nEnd != std::string_view::npos || (m_bAtEnd && !strUnread.empty())) {
            strLine = strUnread.substr(0, nEnd == std::string_view::npos ? strUnread.size() : nEnd + 1);
            m_nStart += strLine.size();
            if (m_bFirst && strLine.starts_with(kByteOrderMark))
                strLine.remove_prefix(kByteOrderMark.size());
            m_bFirst = false;
            return true;
        }
        if (m_bAtEnd)
            return false;
        Fill();
    }
}

// Moves the unread part of a line to the buffer's start and reads after it, growing the buffer for a line
// longer than it.
void CScriptReader::Fill() {
    std::memmove(m_aBuffer.data(), m_aBuffer.data() + m_nStart, m_nEnd - m_nStart);
    m_nEnd -= m_nStart;
    m_nStart = 0;
    if (m_nEnd == m_aBuffer.size())
        m_aBuffer.resize(m_aBuffer.size() * 2);
    const ssize_t nRead = ::read(m_nFile, m_aBuffer.data() + m_nEnd, m_aBuffer.size() - m_nEnd);
    if (nRead < 0 && errno == EINTR)
        return;
    if (nRead < 0)
        AfxThrowFileException(CFileException::genericException, errno, m_strPath.c_str());
    if (nRead == 0)
        m_bAtEnd = true;
    m_nEnd += static_cast<size_t>(nRead);
}
