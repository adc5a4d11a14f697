// CScriptUnloader: writes one script file per selected object category.
#pragma once

#include "backend/Database.h"
#include "platform/Sync.h"
#include "scripting/ScriptObserver.h"
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

    // For scripts kept under version control or run elsewhere; both off by default.
    // Nonzero: views, triggers, procedures and functions each come after those of their category they use.
    int m_bDependencyOrder = 0;
    // Nonzero: no category file is asked about or written; the observer takes the texts.
    int m_bNoCategoryFiles = 0;
    // The host's observer of the run (not owned); null, the default, for none.
    void SetObserver(IScriptObserver* pObserver) { m_pObserver = pObserver; }

protected:
    BOOL Check();
    BOOL ScriptsAll(eSqlTypeObjects eType);
    BOOL ScriptsAllThread();
    static UINT ThreadFunction(void* pParam);

private:
    CString GetFilePath(int nCategory) const;
    bool IsStopRequested() const { return m_pObserver && m_pObserver->ShouldStop(); }
    bool ShouldAskReplace(const CString& strPath) const;
    // Generates the category and writes its file; false, leaving the file alone, when the run was stopped.
    bool ProduceCategory(int nCategory, const CString& strPath, void (*pfnShowMessage)(UINT nID));
    CString GenerateCategory(int nCategory) const;
    // Runs the prefetch that the context asks for; shows why and returns FALSE when it cannot be done.
    BOOL Prefetch();

    CCriticalSection m_csThreads;
    int m_nNextCategory = 0;
    int m_bStop = 0;
    int m_bReplaceAll = 0;
    CWnd* m_pParent;
    CDatabase* m_pDatabase;
    IScriptObserver* m_pObserver = nullptr;
};
