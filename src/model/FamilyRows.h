// The rows of one family statement, read by column name with typed getters. The result's columns are
// matched to the names the family declares once, when the result arrives, so a server that answers with
// another shape fails with the family's name and statement instead of misreading values.
#pragma once

#include "backend/DbBackend.h"
#include "model/ModelError.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CFamilyRows {
public:
    // aNames: the columns the family reads.
    CFamilyRows(std::string strFamily, std::string strStatement, std::unique_ptr<CDbResult> pResult,
                const std::vector<const char*>& aNames);

    // The next row; false after the last.
    bool Next();

    // Values of the current row by their column's name, one of those the family declares.
    int Int(const char* pszColumn) const;
    bool Bool(const char* pszColumn) const { return Int(pszColumn) != 0; }
    // Text; NULL gives empty text.
    std::string Text(const char* pszColumn) const { return std::string(*At(pszColumn)); }
    bool IsNull(const char* pszColumn) const { return !At(pszColumn); }
    std::optional<std::string> Value(const char* pszColumn) const;

    [[noreturn]] void Fail(const std::string& strReason) const;

private:
    // A row's reads come in the same order row after row: the next one is found at once.
    const TDbValue& At(const char* pszColumn) const {
        if (m_nNextAsked < m_aAsked.size() && m_aAsked[m_nNextAsked].first == pszColumn)
            return (*m_row)[m_aAsked[m_nNextAsked++].second];
        return (*m_row)[Position(pszColumn)];
    }
    size_t Position(const char* pszColumn) const;

    std::string m_strFamily;
    std::string m_strStatement;
    std::unique_ptr<CDbResult> m_pResult;
    std::vector<std::pair<std::string, size_t>> m_aColumns; // declared name, position in the result
    // The names asked for so far, by the address of their text: a loop asks with the same literals in the
    // same order row after row, so the next one asked is found at once, without comparing text. Each row
    // starts again at the first.
    mutable std::vector<std::pair<const char*, size_t>> m_aAsked;
    mutable size_t m_nNextAsked = 0;
    std::optional<TDbRow> m_row;
};
