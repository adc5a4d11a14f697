#include "DialogExport.h"

#include "Messages.h"

#include "export/DlgReplaceFile.h"
#include "gui/GuiUiBackend.h"
#include "scripts/ScriptUnloader.h"

#include <atomic>
#include <dlfcn.h>
#include <filesystem>

namespace {

struct LibraryCloser {
    void operator()(void* library) const { dlclose(library); }
};

// The toolkit comes with libscripts-gui, loaded only by a run that shows windows, so that the command needs
// no desktop toolkit otherwise. The library stays loaded to the end (RTLD_NODELETE): the toolkit may leave
// handlers behind that run at exit.
std::unique_ptr<CUiBackend> LoadGuiBackend(std::string& error) {
    const std::unique_ptr<void, LibraryCloser> library(
        dlopen(SQLSCRIPTS_GUI_LIBRARY, RTLD_NOW | RTLD_NODELETE));
    if (!library) {
        error = Tr("the graphical backend is not installed (Debian package libscripts-gui): ") +
                std::string(dlerror());
        return nullptr;
    }
    const auto create =
        reinterpret_cast<decltype(&ScriptsGuiCreateBackend)>(dlsym(library.get(), "ScriptsGuiCreateBackend"));
    if (!create) {
        error = Tr("the graphical backend cannot be used: ") + std::string(dlerror());
        return nullptr;
    }
    CString reason;
    std::unique_ptr<CUiBackend> gui(create("sqlscripts", &reason));
    if (!gui)
        error = reason.Str();
    return gui;
}

} // namespace

// Passes everything to the windows and keeps count of what makes the run a failure: the module's messages
// and replace questions not answered with a yes.
class DialogExport::CountingUi : public CUiBackend {
public:
    explicit CountingUi(CUiBackend& windows) : windows_(windows) {}

    int MessageBox(const CString& strText, UINT nType) override {
        ++messages_;
        return windows_.MessageBox(strText, nType);
    }
    INT_PTR RunModal(CDialog& dlg) override {
        const INT_PTR result = windows_.RunModal(dlg);
        if (dlg.GetTemplateID() == CDlgReplaceFile::IDD) {
            const auto& replace = static_cast<const CDlgReplaceFile&>(dlg);
            if (!replace.m_bYes && !replace.m_bYesToAll)
                ++refusals_;
        }
        return result;
    }
    bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) override {
        return windows_.BrowseForFolder(strFolder, pOwner, pszTitle);
    }

    int Messages() const { return messages_; }
    int Refusals() const { return refusals_; }

private:
    CUiBackend& windows_;
    std::atomic<int> messages_{0};
    std::atomic<int> refusals_{0};
};

std::unique_ptr<DialogExport> DialogExport::Open(std::string& error) {
    std::unique_ptr<CUiBackend> gui = LoadGuiBackend(error);
    if (!gui)
        return nullptr;
    return std::unique_ptr<DialogExport>(new DialogExport(std::move(gui)));
}

DialogExport::DialogExport(std::unique_ptr<CUiBackend> gui)
    : gui_(std::move(gui)), ui_(std::make_unique<CountingUi>(*gui_)) {
    AfxSetUiBackend(ui_.get());
}

DialogExport::~DialogExport() {
    AfxSetUiBackend(nullptr);
}

int DialogExport::Run(CDatabase& db, const std::string& folder, bool parallel, bool prefetch) {
    CScriptUnloader unloader(db, nullptr, folder.c_str());
    if (!unloader.GetScriptDataFromDlg()) {
        Say(Tr("cancelled; nothing written"));
        return 1;
    }
    unloader.m_bPrefetch = prefetch ? 1 : 0;
    if (parallel)
        unloader.ExecScriptDataThreads();
    else
        unloader.ExecScriptData();
    if (ui_->Refusals() > 0) {
        Say(Tr("stopped without overwriting an existing file"));
        return 1;
    }
    if (ui_->Messages() > 0)
        return 1;
    std::error_code ec;
    const std::filesystem::path written = std::filesystem::absolute(unloader.m_strPath.Str(), ec);
    Say(Format(Tr("scripts written to %s"), (ec ? unloader.m_strPath.Str() : written.string()).c_str()));
    return 0;
}
