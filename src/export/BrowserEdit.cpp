#include "export/BrowserEdit.h"

#include <algorithm>
#include <filesystem>

int CBrowserEdit::Init(CDialog* pDialog, UINT nButtonId, int nFlags) {
    m_pDialog = pDialog;
    m_nButtonId = nButtonId;
    m_nFlags = nFlags;
    return pDialog && pDialog->GetDlgItem(static_cast<int>(nButtonId)) ? TRUE : FALSE;
}

std::vector<CString> CBrowserEdit::GetFolderCompletions(const CString& strPrefix) {
    const std::string& strTyped = strPrefix.Str();
    const size_t nSlash = strTyped.rfind('/');
    const std::string strFolder =
        nSlash == std::string::npos ? std::string() : strTyped.substr(0, nSlash + 1);
    const std::string strStart = nSlash == std::string::npos ? strTyped : strTyped.substr(nSlash + 1);
    std::vector<CString> aFolders;
    std::error_code ec;
    std::filesystem::directory_iterator it(strFolder.empty() ? "." : strFolder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string strName = it->path().filename().string();
        if (strName.compare(0, strStart.size(), strStart) != 0 || (strName[0] == '.' && strStart.empty()))
            continue;
        std::error_code ecType;
        if (it->is_directory(ecType))
            aFolders.emplace_back(strFolder + strName + "/");
    }
    std::sort(aFolders.begin(), aFolders.end(),
              [](const CString& a, const CString& b) { return a.Str() < b.Str(); });
    return aFolders;
}
