#include "platform/Exceptions.h"

#include <cstring>

size_t Utf8PrefixBytes(const char* psz, size_t nBytes, size_t nMaxChars) {
    if (nBytes <= nMaxChars)
        return nBytes; // no character is shorter than a byte
    size_t nPos = 0;
    for (size_t nChars = 0; nPos < nBytes && nChars < nMaxChars; ++nChars) {
        ++nPos;
        while (nPos < nBytes && (static_cast<unsigned char>(psz[nPos]) & 0xC0) == 0x80)
            ++nPos;
    }
    return nPos;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    const CString strText = GetErrorText();
    size_t nBytes = std::min<size_t>(static_cast<size_t>(strText.GetLength()), nMaxError - 1);
    // Step back to a character boundary.
    while (nBytes > 0 && nBytes < static_cast<size_t>(strText.GetLength()) &&
           (static_cast<unsigned char>(strText.GetAt(static_cast<int>(nBytes))) & 0xC0) == 0x80)
        --nBytes;
    std::memcpy(lpszError, strText.GetString(), nBytes);
    lpszError[nBytes] = '\0';
    return TRUE;
}

BOOL CException::GetErrorMessage(CString& strError, UINT nMaxChars) const {
    strError.Empty();
    if (nMaxChars == 0)
        return FALSE;
    const CString strText = GetErrorText();
    strError = strText.Left(
        static_cast<int>(Utf8PrefixBytes(strText.GetString(), strText.GetLength(), nMaxChars - 1)));
    return TRUE;
}

CDBException::CDBException(std::vector<TDiagRecord> aRecords, short nRetCode)
    : m_nRetCode(nRetCode), m_aRecords(std::move(aRecords)) {
    for (const TDiagRecord& rec : m_aRecords) {
        if (!m_strError.IsEmpty())
            m_strError += '\n';
        m_strError += rec.strMessage;
        m_strStateNativeOrigin.AppendFormat("State:%s,Native:%ld,Origin:\n", rec.strSqlState,
                                            rec.nNativeError);
    }
}

CDBException::CDBException(const char* pszSqlState, long nNativeError, const CString& strMessage)
    : CDBException(std::vector<TDiagRecord>{{pszSqlState, nNativeError, strMessage}}) {}

CString CDBException::GetSqlState() const {
    return m_aRecords.empty() ? CString() : m_aRecords[0].strSqlState;
}

long CDBException::GetNativeError() const {
    return m_aRecords.empty() ? 0 : m_aRecords[0].nNativeError;
}

CFileException::CFileException(int nCause, long lOsError, const CString& strFileName)
    : m_cause(nCause), m_lOsError(lOsError), m_strFileName(strFileName) {}

CString CFileException::GetErrorText() const {
    CString strText;
    strText.Format("%s: %s", m_strFileName,
                   m_lOsError ? std::strerror(static_cast<int>(m_lOsError)) : "error");
    return strText;
}

void AfxThrowDBException(const char* pszSqlState, long nNativeError, const CString& strMessage) {
    throw new CDBException(pszSqlState, nNativeError, strMessage);
}

void AfxThrowFileException(int nCause, long lOsError, const CString& strFileName) {
    throw new CFileException(nCause, lOsError, strFileName);
}
