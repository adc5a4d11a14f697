#include "jobs/DiffRenames.h"

#include "jobs/ObjectName.h"

namespace {

TJobNotice Misuse(const TDiffRename& option) {
    return TJobNotice(eJobNotice::RenameUnmatched,
                      std::string(option.bColumn ? "column " : "table ") + option.strText);
}

// SCHEMA.TABLE or TABLE; SCHEMA.TABLE.COLUMN or TABLE.COLUMN; dbo where no schema is named.
std::optional<TModelKey> OldKey(const TDiffRename& option, std::string_view strOld) {
    std::vector<std::string> aParts = NameParts(strOld);
    const size_t nNamed = option.bColumn ? 2 : 1;
    if (aParts.size() == nNamed)
        aParts.insert(aParts.begin(), "dbo");
    if (aParts.size() != nNamed + 1)
        return std::nullopt;
    for (const std::string& strPart : aParts)
        if (strPart.empty())
            return std::nullopt;
    if (option.bColumn)
        return TModelKey{eModelKind::Column, aParts[0], aParts[1], aParts[2]};
    return TModelKey{eModelKind::Table, aParts[0], "", aParts[1]};
}

} // namespace

TParsedRenames ParseRenames(const std::vector<TDiffRename>& aOptions) {
    TParsedRenames parsed;
    for (const TDiffRename& option : aOptions) {
        const std::string_view strText = option.strText;
        const size_t nEquals = FindUndelimited(strText, '=');
        const std::optional<TModelKey> old =
            nEquals == std::string_view::npos ? std::nullopt : OldKey(option, strText.substr(0, nEquals));
        const std::vector<std::string> aNew =
            old ? NameParts(strText.substr(nEquals + 1)) : std::vector<std::string>();
        if (!old || aNew.size() != 1 || aNew[0].empty()) {
            parsed.misuse = Misuse(option);
            return parsed;
        }
        parsed.aRenames.push_back({*old, aNew[0]});
    }
    return parsed;
}

std::optional<TJobNotice> RenameMisuse(const TRenameCheck& check, const std::vector<TDiffRename>& aOptions) {
    if (check.eProblem == eRenameProblem::None)
        return std::nullopt;
    TJobNotice notice = Misuse(aOptions[check.nRequest]);
    notice.aItems.push_back({static_cast<int>(check.object.eKind), check.strName});
    notice.nCount = static_cast<long>(check.eProblem);
    return notice;
}
