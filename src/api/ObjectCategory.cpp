#include "api/SingleObject.h"

#include "catalog/SQLRecDependents.h"
#include "catalog/SQLRecObjects.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<const char*, eSqlTypeObjects>, 9> kTypeCategories = {{
    {"D ", eSqlDefaults},
    {"U ", eSqlTables},
    {"PK", eSqlPK},
    {"V ", eSqlViews},
    {"TR", eSqlTriggers},
    {"P ", eSqlStoredProc},
    {"UQ", eSqlIndexes},
    {"C ", eSqlChecks},
    {"FN", eSqlUdf},
}};

} // namespace

eSqlTypeObjects GetObjectCategory(const char* pszName) {
    CSQLRecGetObjectType rs;
    rs.m_strParamName = pszName;
    rs.m_strParamSchema = "dbo";
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    if (rs.IsEOF())
        return eSqlUnknown;
    for (const auto& [pszCode, eCategory] : kTypeCategories)
        if (rs.m_strType == pszCode)
            return eCategory;
    return eSqlUnknown;
}

bool IsUserType(const char* pszName) {
    CSQLRecUserTypes rs;
    rs.SetDetail(true);
    rs.m_strParamName = pszName;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    return !rs.IsEOF();
}

eSqlTypeObjects ResolveObjectCategory(const char* pszName) {
    const eSqlTypeObjects eCategory = GetObjectCategory(pszName);
    if (eCategory != eSqlUnknown)
        return eCategory;
    return IsUserType(pszName) ? eSqlUdt : eSqlUnknown;
}
