#include "jobs/DiffTexts.h"

#include "compare/TextDiff.h"
#include "recreate/RecreateKinds.h"

#include <nlohmann/json.hpp>

namespace {

std::string KindName(eModelKind eKind) {
    return std::string(RecreateKind(eKind).strName);
}

// FROM's table or column under its old name, its new one as TO names it.
TDiffEntry RenameEntry(const TCompareObject& from, const TCompareObject& to) {
    TDiffEntry entry;
    entry.eChange = eDiffEntry::Renamed;
    entry.strKind = KindName(from.key.eKind);
    entry.strName = from.strName;
    entry.strSchema = from.key.strSchema;
    entry.strTable = from.key.strTable;
    entry.strObject = from.key.strName;
    entry.strOld = from.strName;
    entry.strNew = to.strName;
    return entry;
}

TDiffEntry EntryOf(const TMigrationItem& item) {
    if (!item.pDifference)
        return RenameEntry(*item.pRenamedFrom, *item.pRenamedTo);
    const TModelDifference& difference = *item.pDifference;
    const TCompareObject& object = difference.Object();
    TDiffEntry entry;
    entry.eChange = difference.eChange == eDiffChange::Added     ? eDiffEntry::Added
                    : difference.eChange == eDiffChange::Changed ? eDiffEntry::Changed
                    : item.bKept                                 ? eDiffEntry::Kept
                                                                 : eDiffEntry::Removed;
    entry.strKind = KindName(object.key.eKind);
    entry.strName = object.strName;
    entry.strSchema = object.key.strSchema;
    entry.strTable = object.key.strTable;
    entry.strObject = object.key.strName;
    return entry;
}

// A value a line can show: one line, not too long to read; empty ones as "(none)".
bool IsShown(const std::string& strValue) {
    constexpr size_t kLongest = 60;
    return strValue.size() <= kLongest && strValue.find_first_of("\r\n") == std::string::npos;
}

bool IsShown(const TDiffEntry& entry) {
    return IsShown(entry.strOld) && IsShown(entry.strNew);
}

std::string Shown(const std::string& strValue) {
    return strValue.empty() ? "(none)" : strValue;
}

std::string ChangeOf(const TDiffEntry& entry) {
    return entry.strProperty +
           (IsShown(entry) ? " " + Shown(entry.strOld) + " -> " + Shown(entry.strNew) : std::string());
}

std::string LineOf(const TDiffEntry& entry) {
    const std::string strObject = entry.strKind + " " + entry.strName;
    switch (entry.eChange) {
    case eDiffEntry::Added:
        return "+ " + strObject;
    case eDiffEntry::Removed:
        return "- " + strObject;
    case eDiffEntry::Kept:
        return "- kept: " + strObject;
    case eDiffEntry::Renamed:
        return "> " + strObject + " -> " + entry.strNew;
    case eDiffEntry::Changed:
        break;
    }
    return "~ " + strObject + ": " + ChangeOf(entry);
}

// A text too long for its line shows how it changed under it.
std::string TextDiffOf(const TDiffEntry& entry) {
    std::string strLines;
    if (entry.eChange != eDiffEntry::Changed || !entry.bText || IsShown(entry))
        return strLines;
    for (const std::string& strLine : UnifiedDiff(entry.strOld, entry.strNew))
        strLines += "    " + strLine + "\n";
    return strLines;
}

const char* ChangeWord(eDiffEntry eChange) {
    static constexpr const char* kWords[] = {"added", "removed", "kept", "changed", "renamed"};
    return kWords[static_cast<int>(eChange)];
}

nlohmann::ordered_json EntryJson(const TDiffEntry& entry) {
    nlohmann::ordered_json json;
    json["change"] = ChangeWord(entry.eChange);
    json["kind"] = entry.strKind;
    json["name"] = entry.strName;
    json["schema"] = entry.strSchema;
    json["table"] = entry.strTable;
    json["object"] = entry.strObject;
    if (entry.eChange != eDiffEntry::Changed && entry.eChange != eDiffEntry::Renamed)
        return json;
    if (entry.eChange == eDiffEntry::Changed)
        json["property"] = entry.strProperty;
    json["old"] = entry.strOld;
    json["new"] = entry.strNew;
    return json;
}

nlohmann::ordered_json RefusalJson(const TRefusal& refusal) {
    nlohmann::ordered_json json;
    json["kind"] = KindName(refusal.object.eKind);
    json["name"] = refusal.strName;
    json["schema"] = refusal.object.strSchema;
    json["table"] = refusal.object.strTable;
    json["object"] = refusal.object.strName;
    json["reason"] = refusal.strReason;
    if (refusal.eOption == eMigrationOption::None)
        json["option"] = nullptr;
    else
        json["option"] = std::string(OptionName(refusal.eOption));
    json["with option"] = refusal.strWithOption;
    return json;
}

// A changed row's columns after the first, on its line: "~ row dbo.T (4): A 1 -> 2, B 'x' -> 'y'".
bool ContinuesRow(const TDiffEntry& entry, const TDiffEntry* pBefore) {
    return pBefore && entry.strKind == kRowKind && entry.eChange == eDiffEntry::Changed &&
           pBefore->strKind == kRowKind && pBefore->eChange == eDiffEntry::Changed &&
           pBefore->strName == entry.strName;
}

} // namespace

std::vector<TDiffEntry> DiffEntries(const std::vector<TMigrationItem>& aItems) {
    std::vector<TDiffEntry> aEntries;
    for (const TMigrationItem& item : aItems) {
        const TDiffEntry entry = EntryOf(item);
        if (entry.eChange != eDiffEntry::Changed) {
            aEntries.push_back(entry);
            continue;
        }
        for (const TPropertyChange& change : item.pDifference->aChanges) {
            aEntries.push_back(entry);
            aEntries.back().strProperty = change.pProperty->strLabel;
            aEntries.back().strOld = change.strOld;
            aEntries.back().strNew = change.strNew;
            aEntries.back().bText = change.pProperty->eId == eProperty::Definition ||
                                    change.pProperty->eId == eProperty::IndexedColumns ||
                                    change.pProperty->eId == eProperty::SearchProperties;
        }
    }
    return aEntries;
}

std::string DiffLines(const std::vector<TDiffEntry>& aEntries, bool bTextDiffs) {
    std::string strLines;
    const TDiffEntry* pBefore = nullptr;
    for (const TDiffEntry& entry : aEntries) {
        if (ContinuesRow(entry, std::exchange(pBefore, &entry))) {
            strLines.insert(strLines.size() - 1, ", " + ChangeOf(entry));
            continue;
        }
        strLines += LineOf(entry) + "\n";
        if (bTextDiffs)
            strLines += TextDiffOf(entry);
    }
    return strLines;
}

std::string DiffJson(const std::vector<TDiffEntry>& aEntries, const std::vector<TRefusal>& aRefusals) {
    nlohmann::ordered_json differences = nlohmann::ordered_json::array();
    for (const TDiffEntry& entry : aEntries)
        differences.push_back(EntryJson(entry));
    nlohmann::ordered_json json{{"differences", differences}};
    if (!aRefusals.empty()) {
        nlohmann::ordered_json& refused = json["refusals"] = nlohmann::ordered_json::array();
        for (const TRefusal& refusal : aRefusals)
            refused.push_back(RefusalJson(refusal));
    }
    return json.dump(2) + "\n";
}

TJobNotice RefusalNotice(const TRefusal& refusal) {
    TJobNotice notice{eJobNotice::MigrationRefused};
    notice.eOption = refusal.eOption == eMigrationOption::AllowDataLoss  ? eJobOption::AllowDataLoss
                     : refusal.eOption == eMigrationOption::AllowRebuild ? eJobOption::AllowRebuild
                     : refusal.eOption == eMigrationOption::Drop         ? eJobOption::Drop
                                                                         : eJobOption::None;
    notice.strReason = refusal.strReason;
    notice.strDetail = refusal.strWithOption;
    notice.aItems.push_back({static_cast<int>(refusal.object.eKind), refusal.strName});
    return notice;
}

TJobNotice LossNotice(const TRefusal& loss) {
    TJobNotice notice = RefusalNotice(loss);
    notice.eWhat = eJobNotice::MigrationLoss;
    return notice;
}
