#include "HostUi.h"

#include "ConnectString.h"
#include "Messages.h"

namespace {

constexpr UINT IDS_BAD_PARAMETERS = 28009;

bool IsBadParameters(const CString& strText) {
    CString strBadParameters;
    strBadParameters.LoadString(IDS_BAD_PARAMETERS);
    return strText == strBadParameters;
}

} // namespace

int HostUi::MessageBox(const CString& strText, UINT nType) {
    std::string text = ModuleText(OneLine(strText.Str()));
    if (!objectName_.empty() && IsBadParameters(strText))
        text =
            Format(qualified_ ? Tr("dbo.%s: no such object in the catalog; without --recreate, object looks "
                                   "in schema dbo only (object --recreate takes SCHEMA.NAME)")
                              : Tr("dbo.%s: no such object in the catalog"),
                   objectName_.c_str());
    Say(text);
    return GetDefaultMessageBoxButton(nType);
}
