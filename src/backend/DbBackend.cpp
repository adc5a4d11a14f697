#include "backend/DbBackend.h"

TDbRow ViewRow(const TDbRowText& row, std::vector<TDbValue>& aValues) {
    aValues.clear();
    for (const std::optional<std::string>& value : row)
        aValues.push_back(value ? TDbValue(*value) : TDbValue());
    return aValues;
}

TDbRow CHeldRows::Add(TDbRow row) {
    std::vector<TDbValue>& aValues = m_aRows.emplace_back();
    for (const TDbValue& value : row)
        aValues.push_back(value ? TDbValue(m_aTexts.emplace_back(*value)) : TDbValue());
    return aValues;
}

TDbRow CHeldRows::Add(TDbRowText row) {
    std::vector<TDbValue>& aValues = m_aRows.emplace_back();
    for (std::optional<std::string>& value : row)
        aValues.push_back(value ? TDbValue(m_aTexts.emplace_back(std::move(*value))) : TDbValue());
    return aValues;
}

CRowsResult::CRowsResult(std::vector<TDbColumn> aColumns, std::vector<TDbRowText> aRows)
    : m_aColumns(std::move(aColumns)) {
    m_aRows.reserve(aRows.size());
    for (TDbRowText& row : aRows)
        m_aRows.push_back(m_held.Add(std::move(row)));
}

void CDbConnection::ExecuteScript(const std::string&, IBatchListener&) {
    AfxThrowDBException(
        "HY000", 0,
        "A catalog snapshot answers only the catalog statements it recorded; it cannot run a script");
}
