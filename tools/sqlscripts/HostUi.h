// The host's user interface for the module's single-object calls: its messages on stderr, one line each, in
// the user's language.
#pragma once

#include "ui/Ui.h"

#include <string>

class HostUi : public CTerminalUiBackend {
public:
    int MessageBox(const CString& strText, UINT nType) override;

    // The module's message for wrong arguments means, for one named object, that the catalog has no such
    // object; qualified: the name looks as if it named another schema than dbo.
    void ExpectObject(std::string name, bool qualified) {
        objectName_ = std::move(name);
        qualified_ = qualified;
    }

private:
    std::string objectName_;
    bool qualified_ = false;
};
