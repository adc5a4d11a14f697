#include "jobs/DamagedNames.h"

#include "backend/ConnectString.h"
#include "jobs/NameDamage.h"
#include "recreate/RecreateKinds.h"
#include "scripts/SqlTypeObjects.h"

#include <algorithm>
#include <strings.h>

namespace {

// The module writes no script for an object it cannot find by its name; a table keeps its frame, empty.
bool FoundNothing(int nCategory, const std::string& strText) {
    return strText.empty() || (nCategory == eSqlTables && strText.find("CREATE TABLE") == std::string::npos);
}

// FreeTDS carries every character of a name only with ClientCharset=UTF-8; where the connect string asks for
// it, the server's code page is what lost them.
bool AsksForUtf8(const std::string& strConnect) {
    const std::string strCharset = ConnectValue(strConnect, "ClientCharset");
    return strcasecmp(strCharset.c_str(), "UTF-8") == 0 || strcasecmp(strCharset.c_str(), "UTF8") == 0;
}

TJobNotice Notice(eJobNotice eWhat, std::vector<TJobItem> aItems, const std::string& strConnect) {
    std::sort(aItems.begin(), aItems.end(), [](const TJobItem& a, const TJobItem& b) {
        return std::tie(a.nKind, a.strName) < std::tie(b.nKind, b.strName);
    });
    TJobNotice notice{eWhat};
    notice.aItems = std::move(aItems);
    notice.bFlag = AsksForUtf8(strConnect);
    return notice;
}

} // namespace

void CDamagedNames::Note(int nCategory, const char* pszSchema, const char* pszName,
                         const std::string& strText) {
    const std::string strObject = std::string(pszSchema) + "." + pszName;
    if (!MayBeDamaged(strObject))
        return;
    const std::lock_guard lock(m_mutex);
    m_aObjects.push_back({nCategory, strObject});
    m_bFoundNothing = m_bFoundNothing || FoundNothing(nCategory, strText) ||
                      strObject.find(kReplacementCharacter) != std::string::npos;
}

std::optional<TJobNotice> CDamagedNames::Notice(const std::string& strConnect) const {
    const std::lock_guard lock(m_mutex);
    if (!m_bFoundNothing)
        return std::nullopt;
    return ::Notice(eJobNotice::DamagedModuleNames, m_aObjects, strConnect);
}

std::optional<TJobNotice> DamagedModelNames(const TCatalogModel& model, const TRecreatePlan& plan,
                                            const std::string& strConnect) {
    std::vector<TJobItem> aItems;
    const auto note = [&](eModelKind eKind, const std::string& strName) {
        if (MayBeDamaged(strName))
            aItems.push_back({static_cast<int>(eKind), strName});
    };
    for (const TPlanStep& step : plan.aSteps)
        if (step.key.eKind == eModelKind::Schema || RecreateKind(step.key.eKind).bSchemaObject)
            note(step.key.eKind,
                 (step.key.strSchema.empty() ? "" : step.key.strSchema + ".") + step.key.strName);
    for (const TModelTable& table : model.aTables) {
        const std::string strTable = table.strSchema + "." + table.strName;
        for (const TModelColumn& column : table.aColumns)
            if (!MayBeDamaged(strTable))
                note(eModelKind::Column, strTable + "." + column.strName);
    }
    if (aItems.empty())
        return std::nullopt;
    return Notice(eJobNotice::DamagedModelNames, std::move(aItems), strConnect);
}
