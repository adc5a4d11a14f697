// CScriptUnloader: writes one script file per selected object category.
#pragma once

#include "backend/Database.h"
#include "platform/Sync.h"
#include "scripts/SqlTypeObjects.h"
#include "ui/Window.h"

#include <array>

struct TScriptFile {
    int bEnabled = 0;
    CString strFile;
};

class CScriptUnloader {
public:
    CScriptUnloader(CDatabase& db, CWnd* pParent, const char* pszPath);
    CScriptUnloader(const CScriptUnloader&) = delete;
    CScriptUnloader& operator=(const CScriptUnloader&) = delete;
    ~CScriptUnloader() = default;

    // Shows the options dialog; TRUE when it was closed with OK.
    BOOL GetScriptDataFromDlg();
    // One category after another in the caller's thread.
    void ExecScriptData();
    // Up to three categories at a time on worker threads.
    void ExecScriptDataThreads();

    int m_bNoCollation = 0;
    // Read each family of catalog details in one statement before the categories, instead of one
    // statement per object: the same files from far fewer round trips.
    int m_bPrefetch = 0;
    CString m_strPath;
    std::array<TScriptFile, SQL_CATEGORY_COUNT> m_aFiles;

protected:
    BOOL Check();
    BOOL ScriptsAll(eSqlTypeObjects eType);
    BOOL ScriptsAllThread();
    static UINT ThreadFunction(void* pParam);

private:
    CString GetFilePath(int nCategory) const;
    CString GenerateCategory(int nCategory) const;
    // Runs the prefetch that the context asks for; shows why and returns FALSE when it cannot be done.
    BOOL Prefetch();

    CCriticalSection m_csThreads;
    int m_nNextCategory = 0;
    int m_bStop = 0;
    int m_bReplaceAll = 0;
    CWnd* m_pParent;
    CDatabase* m_pDatabase;
};
