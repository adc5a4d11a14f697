// The user-interface layer: AfxMessageBox and the backend that renders it, chosen by the host.
#pragma once

#include "platform/String.h"

#include <mutex>
#include <vector>

// Button sets and icons of a message box.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_TYPEMASK = 0x0000000F;

// Buttons a message box answers with.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button a box of that type answers with when nobody can press one: its first button.
int GetDefaultMessageBoxButton(UINT nType);

// Renders what the module shows. Modal operations block the calling thread until answered.
// Backends are owned by the host; further modal elements (dialogs) join as further operations.
class CUiBackend {
public:
    virtual ~CUiBackend() = default;

    // Shows a modal message box; returns the button that closed it (IDOK, IDYES, ...).
    virtual int MessageBox(const CString& strText, UINT nType) = 0;
};

// One message box as shown.
struct TUiMessage {
    CString strText;
    UINT nType = MB_OK;
};

// Keeps message boxes in memory for tests and non-interactive hosts; answers with a preset button
// or, when none is set, with the box's first button. Safe to use from several threads.
class CHeadlessUiBackend : public CUiBackend {
public:
    int MessageBox(const CString& strText, UINT nType) override;

    std::vector<TUiMessage> GetMessages() const;
    void ClearMessages();
    // 0 restores the first-button answer.
    void SetMessageBoxAnswer(int nAnswer);

private:
    mutable std::mutex m_mutex;
    std::vector<TUiMessage> m_aMessages;
    int m_nAnswer = 0;
};

// Writes message boxes to stderr, one line each; nothing can be pressed, so the first button answers.
class CTerminalUiBackend : public CUiBackend {
public:
    int MessageBox(const CString& strText, UINT nType) override;
};

// The backend all user interface goes through; null restores the built-in headless backend.
void AfxSetUiBackend(CUiBackend* pBackend);
CUiBackend* AfxGetUiBackend();
// The built-in headless backend, in use while the host chooses none.
CHeadlessUiBackend& AfxGetHeadlessUiBackend();

int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows string resource nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
