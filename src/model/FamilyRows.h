// The rows of one family statement, read by column name with typed getters. The result's columns are
// matched to the names the family asks for once, when the result arrives, so a server that answers with
// another shape fails with the family's name and statement instead of misreading values.
#pragma once

#include "backend/DbBackend.h"
#include "model/ModelLoadError.h"

#include <memory>
#include <string>
#include <vector>

class CFamilyRows {
public:
    // aNames: the columns the family reads, in the order the getters name them by index.
    CFamilyRows(std::string strFamily, std::string strStatement, std::unique_ptr<CDbResult> pResult,
                const std::vector<const char*>& aNames);

    // The next row; false after the last.
    bool Next();

    // Values of the current row by the position of their name in aNames.
    int Int(size_t nColumn) const;
    bool Bool(size_t nColumn) const { return Int(nColumn) != 0; }
    // Text; NULL gives empty text.
    std::string Text(size_t nColumn) const { return std::string(*At(nColumn)); }
    bool IsNull(size_t nColumn) const { return !At(nColumn); }
    std::optional<std::string> Value(size_t nColumn) const;

    [[noreturn]] void Fail(const std::string& strReason) const;

private:
    const TDbValue& At(size_t nColumn) const;

    std::string m_strFamily;
    std::string m_strStatement;
    std::unique_ptr<CDbResult> m_pResult;
    std::vector<size_t> m_aPositions;
    std::vector<std::string> m_aNames;
    std::optional<TDbRow> m_row;
};
