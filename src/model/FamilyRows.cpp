#include "model/FamilyRows.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <strings.h>

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
        m_aColumns.emplace_back(pszName, static_cast<size_t>(it - aColumns.begin()));
    }
}

bool CFamilyRows::Next() {
    m_nNextAsked = 0;
    m_row = m_pResult->Fetch();
    if (m_row && m_row->size() < m_pResult->Columns().size())
        Fail("a row has fewer values than the result has columns");
    return m_row.has_value();
}

size_t CFamilyRows::Position(const char* pszColumn) const {
    for (size_t nAsked = 0; nAsked < m_aAsked.size(); ++nAsked)
        if (m_aAsked[nAsked].first == pszColumn) {
            m_nNextAsked = nAsked + 1;
            return m_aAsked[nAsked].second;
        }
    const auto it = std::find_if(m_aColumns.begin(), m_aColumns.end(),
                                 [&](const auto& column) { return column.first == pszColumn; });
    if (it == m_aColumns.end())
        Fail("the loader reads the column " + std::string(pszColumn) + ", which the family does not declare");
    m_aAsked.emplace_back(pszColumn, it->second);
    m_nNextAsked = m_aAsked.size();
    return it->second;
}

std::optional<std::string> CFamilyRows::Value(const char* pszColumn) const {
    const TDbValue& value = At(pszColumn);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

// NULL gives 0, as the recordsets bind it.
int CFamilyRows::Int(const char* pszColumn) const {
    const TDbValue& value = At(pszColumn);
    if (!value)
        return 0;
    int n = 0;
    const std::string_view str = *value;
    const auto [ptr, ec] = std::from_chars(str.data(), str.data() + str.size(), n);
    if (ec != std::errc() || ptr != str.data() + str.size())
        Fail("column " + std::string(pszColumn) + " holds '" + std::string(str) + "', not a whole number");
    return n;
}

void CFamilyRows::Fail(const std::string& strReason) const {
    throw CModelError(eModelTask::ReadCatalog, m_strFamily, strReason, m_strStatement);
}
