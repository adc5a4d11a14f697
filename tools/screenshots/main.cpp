// Renders the module's two dialogs as the graphical backend shows them and saves each as a PNG, for
// docs/dialogs.md. Run under an X server (tools/screenshots.sh starts a private Xvfb).
#include "export/DlgCreateScript.h"
#include "export/DlgReplaceFile.h"
#include "gui/GuiUiBackend.h"
#include "gui/TemplateWindow.h"
#include "backend/Database.h"
#include "scripts/ScriptUnloader.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <cstdio>
#include <string>

namespace {

// Paints the window's client area into a PNG file, once the window has drawn itself.
bool SaveWindow(CTemplateWindow& window, const std::string& path) {
    window.Update();
    wxYield();
    wxMilliSleep(200);
    wxYield();
    const wxSize size = window.GetClientSize();
    wxBitmap bitmap(size);
    wxMemoryDC memory(bitmap);
    wxClientDC screen(&window);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage().SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    CString error;
    std::unique_ptr<CGuiUiBackend> gui = CGuiUiBackend::Create("sqlscripts", error);
    if (!gui) {
        std::fprintf(stderr, "screenshots: %s\n", error.GetString());
        return 2;
    }
    AfxSetUiBackend(gui.get());
    bool saved = true;
    std::string file;
    gui->Invoke([] { wxInitAllImageHandlers(); });
    gui->SetShownHook([&](CTemplateWindow& window) {
        saved = SaveWindow(window, folder + "/" + file) && saved;
        window.Close();
    });

    CDatabase db;
    CScriptUnloader unloader(db, nullptr, "/home/user/scripts");
    file = "dialog-options.png";
    unloader.GetScriptDataFromDlg();

    CDlgReplaceFile replace;
    replace.m_strFileName = "Tables.sql";
    file = "dialog-replace.png";
    replace.DoModal();

    AfxSetUiBackend(nullptr);
    return saved ? 0 : 1;
}
