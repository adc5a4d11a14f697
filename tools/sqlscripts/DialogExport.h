// export --dialog: the options dialog, the replace questions and the messages of the run as windows.
#pragma once

#include "backend/Database.h"
#include "ui/Ui.h"

#include <memory>
#include <string>

class DialogExport {
public:
    // Loads the graphical backend and opens the display; null, with the reason in error, when the backend is
    // not installed or there is no display.
    static std::unique_ptr<DialogExport> Open(std::string& error);
    ~DialogExport();

    // Shows the options dialog with folder as its proposal and runs the export chosen there; the exit code.
    int Run(CDatabase& db, const std::string& folder, bool parallel, bool prefetch);

private:
    class CountingUi;
    DialogExport(std::unique_ptr<CUiBackend> gui);

    std::unique_ptr<CUiBackend> gui_;
    std::unique_ptr<CountingUi> ui_;
};
