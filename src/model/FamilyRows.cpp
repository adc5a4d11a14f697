#include "model/FamilyRows.h"

#include <algorithm>
#include <charconv>
#include <strings.h>

namespace {

const std::string g_strEmpty;

} // namespace

CFamilyRows::CFamilyRows(std::string strFamily, std::string strStatement, std::unique_ptr<CDbResult> pResult,
                         const std::vector<const char*>& aNames)
    : m_strFamily(std::move(strFamily)), m_strStatement(std::move(strStatement)),
      m_pResult(std::move(pResult)) {
    const std::vector<TDbColumn>& aColumns = m_pResult->Columns();
    for (const char* pszName : aNames) {
        const auto it = std::find_if(aColumns.begin(), aColumns.end(), [&](const TDbColumn& column) {
            return strcasecmp(column.strName.c_str(), pszName) == 0;
        });
        if (it == aColumns.end())
            Fail("the server's answer has no column " + std::string(pszName));
        m_aPositions.push_back(static_cast<size_t>(it - aColumns.begin()));
        m_aNames.emplace_back(pszName);
    }
}

bool CFamilyRows::Next() {
    m_pRow = m_pResult->Fetch();
    if (m_pRow && m_pRow->size() < m_pResult->Columns().size())
        Fail("a row has fewer values than the result has columns");
    return m_pRow != nullptr;
}

const TDbValue& CFamilyRows::Value(size_t nColumn) const {
    return (*m_pRow)[m_aPositions[nColumn]];
}

bool CFamilyRows::IsNull(size_t nColumn) const {
    return !Value(nColumn).has_value();
}

const std::string& CFamilyRows::Text(size_t nColumn) const {
    const TDbValue& value = Value(nColumn);
    return value ? *value : g_strEmpty;
}

// NULL gives 0, as the recordsets bind it.
int CFamilyRows::Int(size_t nColumn) const {
    const TDbValue& value = Value(nColumn);
    if (!value)
        return 0;
    int n = 0;
    const char* pszEnd = value->data() + value->size();
    const auto [ptr, ec] = std::from_chars(value->data(), pszEnd, n);
    if (ec != std::errc() || ptr != pszEnd)
        Fail("column " + m_aNames[nColumn] + " holds '" + *value + "', not a whole number");
    return n;
}

void CFamilyRows::Fail(const std::string& strReason) const {
    throw CModelLoadError(m_strFamily, m_strStatement, strReason);
}
