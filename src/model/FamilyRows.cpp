#include "model/FamilyRows.h"

#include <algorithm>
#include <charconv>
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
        m_aPositions.push_back(static_cast<size_t>(it - aColumns.begin()));
        m_aNames.emplace_back(pszName);
    }
}

bool CFamilyRows::Next() {
    m_row = m_pResult->Fetch();
    if (m_row && m_row->size() < m_pResult->Columns().size())
        Fail("a row has fewer values than the result has columns");
    return m_row.has_value();
}

const TDbValue& CFamilyRows::At(size_t nColumn) const {
    return (*m_row)[m_aPositions[nColumn]];
}

std::optional<std::string> CFamilyRows::Value(size_t nColumn) const {
    const TDbValue& value = At(nColumn);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

// NULL gives 0, as the recordsets bind it.
int CFamilyRows::Int(size_t nColumn) const {
    const TDbValue& value = At(nColumn);
    if (!value)
        return 0;
    int n = 0;
    const std::string_view str = *value;
    const auto [ptr, ec] = std::from_chars(str.data(), str.data() + str.size(), n);
    if (ec != std::errc() || ptr != str.data() + str.size())
        Fail("column " + m_aNames[nColumn] + " holds '" + std::string(str) + "', not a whole number");
    return n;
}

void CFamilyRows::Fail(const std::string& strReason) const {
    throw CModelLoadError(m_strFamily, m_strStatement, strReason);
}
