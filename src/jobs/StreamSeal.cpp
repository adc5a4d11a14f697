#include "jobs/StreamSeal.h"

#include "recreate/DdlText.h"

#include <cinttypes>
#include <cstdio>

namespace {

// No semicolon: a driver that counts them in a batch (SQLite's) would take the comment for a statement.
constexpr std::string_view kOpening = "-- sqlscripts stream: it ends with a closing line that says what it "
                                      "holds (without that line it was cut short)";
constexpr std::string_view kClosingStart = "-- end of the sqlscripts stream: ";

constexpr std::uint64_t kChecksumStart = 14695981039346656037ULL;

std::uint64_t Checksum(std::uint64_t nChecksum, std::string_view strText) {
    for (const char ch : strText) {
        nChecksum ^= static_cast<unsigned char>(ch);
        nChecksum *= 1099511628211ULL;
    }
    return nChecksum;
}

// The lines end as the script's do, CR LF unless --line-ends lf.
std::string ClosingText(long nFiles, long nBatches, std::uint64_t nChecksum, std::string_view strLineEnd) {
    char szText[128];
    std::snprintf(szText, sizeof szText, "files %ld, batches %ld, checksum %016" PRIx64, nFiles, nBatches,
                  nChecksum);
    return std::string(kClosingStart) + szText + std::string(strLineEnd);
}

} // namespace

std::string StreamOpeningLine() {
    return std::string(kOpening) + LineEnd();
}

CStreamSeal::CStreamSeal() : m_nChecksum(kChecksumStart) {}

void CStreamSeal::Add(std::string_view strText) {
    m_nChecksum = Checksum(m_nChecksum, strText);
    for (size_t nEnd; (nEnd = strText.find('\n')) != std::string_view::npos;) {
        const std::string_view strEnd = strText.substr(0, nEnd + 1);
        strText.remove_prefix(nEnd + 1);
        if (m_strPartLine.empty()) {
            AddLine(strEnd);
            continue;
        }
        m_strPartLine += strEnd;
        AddLine(m_strPartLine);
        m_strPartLine.clear();
    }
    m_strPartLine += strText;
}

// A wrong GO line is counted as apply counts it: not at all, as apply refuses the stream for it.
void CStreamSeal::AddLine(std::string_view strLine) {
    try {
        if (m_splitter.AddLine(strLine))
            ++m_nBatches;
    } catch (CScriptException* e) {
        e->Delete();
    }
}

std::string CStreamSeal::ClosingLine() {
    if (!m_strPartLine.empty()) {
        AddLine(m_strPartLine);
        m_strPartLine.clear();
    }
    if (m_splitter.Finish())
        ++m_nBatches;
    return ClosingText(m_nFiles, m_nBatches, m_nChecksum, LineEnd());
}

bool StartsAsStream(std::string_view strStart) {
    return strStart.starts_with(kOpening.substr(0, kOpening.find(':') + 1));
}

TStreamSeal ReadStreamSeal(std::string_view strText) {
    TStreamSeal seal;
    if (!StartsAsStream(strText))
        return seal;
    seal.eSeal = eStreamSeal::CutShort;
    if (!strText.ends_with('\n'))
        return seal;
    const size_t nLineEnd = strText.rfind('\n', strText.size() - 2);
    const size_t nStart = nLineEnd == std::string_view::npos ? 0 : nLineEnd + 1;
    const std::string strLine(strText.substr(nStart));
    long nFiles = 0, nBatches = 0;
    if (!strLine.starts_with(kClosingStart) || std::sscanf(strLine.c_str() + kClosingStart.size(),
                                                           "files %ld, batches %ld", &nFiles, &nBatches) != 2)
        return seal;
    const std::string_view strLineEnd = strLine.ends_with("\r\n") ? "\r\n" : "\n";
    if (strLine !=
        ClosingText(nFiles, nBatches, Checksum(kChecksumStart, strText.substr(0, nStart)), strLineEnd)) {
        seal.eSeal = eStreamSeal::Altered;
        return seal;
    }
    return {eStreamSeal::Whole, nStart, nBatches};
}
