#include "HostUi.h"

#include "Categories.h"
#include "ConnectString.h"
#include "Interruption.h"
#include "Messages.h"
#include "platform/Exceptions.h"

#include <exception>

namespace {

constexpr UINT IDS_BAD_PARAMETERS = 28009;

// The module reports a failure from inside the handler that caught it, so the exception being handled is
// the failure's cause; SQLSTATE class 08 is a connection exception.
bool CausedByLostConnection() {
    const std::exception_ptr cause = std::current_exception();
    if (!cause)
        return false;
    try {
        std::rethrow_exception(cause);
    } catch (const CDBException* e) {
        return e->GetSqlState().Left(2) == "08";
    } catch (...) {
    }
    return false;
}

bool IsBadParameters(const CString& strText) {
    CString strBadParameters;
    strBadParameters.LoadString(IDS_BAD_PARAMETERS);
    return strText == strBadParameters;
}

} // namespace

std::string HostUi::StopLine(const std::string& text) const {
    if (!stopLine_.empty())
        return stopLine_;
    if (stopOnLostConnection_ && (stopped_ || CausedByLostConnection()))
        return text + " " + Tr("(connection lost: export stopped)");
    return std::string();
}

int HostUi::MessageBox(const CString& strText, UINT nType) {
    const int category = ExportOutput::CurrentCategory();
    // A statement cancelled by Ctrl-C fails as the signal meant it to: the run says how it ended instead.
    if (InterruptionSignal()) {
        if (output_ && category >= 0)
            output_->Failed(category);
        return GetDefaultMessageBoxButton(nType);
    }
    ++messageCount_;
    const ProgressPause pause(progress_);
    std::string text = ModuleText(OneLine(strText.Str()));
    if (category >= 0)
        text = CategoryName(category) + ": " + text;
    // Every later statement would fail the same way, each with its message: the run stops at its next object
    // instead (ExportObserver), writing no file of the category it is in.
    if (const std::string line = StopLine(text); !line.empty()) {
        if (!stopped_.exchange(true))
            Say(line);
        return GetDefaultMessageBoxButton(nType);
    }
    if (!objectName_.empty() && IsBadParameters(strText))
        text =
            Format(qualified_ ? Tr("dbo.%s: no such object in the catalog; without --recreate, object looks "
                                   "in schema dbo only (object --recreate takes SCHEMA.NAME)")
                              : Tr("dbo.%s: no such object in the catalog"),
                   objectName_.c_str());
    if (output_ && category >= 0)
        text += " (" + output_->Failed(category) + ")";
    Say(text);
    return GetDefaultMessageBoxButton(nType);
}
