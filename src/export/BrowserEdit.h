// The folder field of the options dialog: an edit that knows its browse button and offers the folders
// that complete what has been typed.
#pragma once

#include "ui/Window.h"

#include <vector>

class CBrowserEdit : public CWnd {
public:
    // Init flags: the text names a folder; completion is offered as the user types.
    enum { BEF_FOLDER = 0x01, BEF_COMPLETE = 0x10 };

    CBrowserEdit() = default;
    ~CBrowserEdit() override = default;

    // Ties the edit to its dialog and browse button; nonzero when the button is there.
    int Init(CDialog* pDialog, UINT nButtonId, int nFlags);

    CDialog* GetDialog() const { return m_pDialog; }
    UINT GetButtonId() const { return m_nButtonId; }
    bool CompletesFolders() const {
        return (m_nFlags & (BEF_FOLDER | BEF_COMPLETE)) == (BEF_FOLDER | BEF_COMPLETE);
    }

    // The folders whose paths begin with strPrefix, sorted, each ending in '/'. The prefix is completed
    // inside its own folder ("/tmp/ou" offers "/tmp/out/"); hidden folders only when asked for by a dot.
    static std::vector<CString> GetFolderCompletions(const CString& strPrefix);

private:
    CDialog* m_pDialog = nullptr;
    UINT m_nButtonId = 0;
    int m_nFlags = 0;
};
