// MFC's exception family. Thrown as pointers (throw new ...), caught as CException*, freed with Delete().
#pragma once

#include "String.h"

#include <memory>
#include <vector>

class CException {
public:
    virtual ~CException() = default;

    // Copies the message into a buffer of nMaxError bytes, cut so that no UTF-8 sequence is broken.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    // The message cut to at most nMaxChars - 1 characters, as a buffer of nMaxChars characters would hold.
    BOOL GetErrorMessage(CString& strError, UINT nMaxChars) const;
    virtual CString GetErrorText() const = 0;

    void Delete() { delete this; }

protected:
    CException() = default;
};

// One diagnostic record of a failed ODBC call.
struct TDiagRecord {
    CString strSqlState;
    long nNativeError = 0;
    CString strMessage;
};

class CDBException : public CException {
public:
    explicit CDBException(std::vector<TDiagRecord> aRecords, short nRetCode = -1);
    CDBException(const char* pszSqlState, long nNativeError, const CString& strMessage);

    CString GetErrorText() const override { return m_strError; }
    // SQLSTATE of the first record ("" when there is none).
    CString GetSqlState() const;
    long GetNativeError() const;

    short m_nRetCode;
    CString m_strError;             // the records' messages, one per line
    CString m_strStateNativeOrigin; // "State:%s,Native:%ld,Origin:" per record, one per line
    std::vector<TDiagRecord> m_aRecords;
    CString m_strStatement; // the statement that failed, where the backend ran one
};

class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int nCause, long lOsError, const CString& strFileName);

    CString GetErrorText() const override;

    int m_cause;
    long m_lOsError;
    CString m_strFileName;
};

// Owns a caught exception: `catch (CException* e) { const CExceptionPtr<> guard(e); ... }` frees it on every
// way out of the handler.
struct TExceptionDeleter {
    void operator()(CException* e) const { e->Delete(); }
};
template <class T = CException> using CExceptionPtr = std::unique_ptr<T, TExceptionDeleter>;

[[noreturn]] void AfxThrowDBException(const char* pszSqlState, long nNativeError, const CString& strMessage);
[[noreturn]] void AfxThrowFileException(int nCause, long lOsError, const CString& strFileName);

// Counts the characters (code points) of UTF-8 text and finds where the first n of them end.
size_t Utf8PrefixBytes(const char* psz, size_t nBytes, size_t nMaxChars);
