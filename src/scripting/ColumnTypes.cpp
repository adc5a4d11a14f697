#include "scripting/ColumnTypes.h"

namespace {

bool IsTypeName(const char* pszTypeName, const char* pszFamilyName) {
    return CString(pszTypeName).CompareNoCase(pszFamilyName) == 0;
}

} // namespace

std::string DeclaredLength(const char* pszTypeName, int nMaxLength) {
    if (nMaxLength == -1)
        return "max";
    return std::to_string(IsNCharType(pszTypeName) ? nMaxLength / 2 : nMaxLength);
}

bool IsCharType(const char* pszTypeName) {
    return IsTypeName(pszTypeName, "varchar") || IsTypeName(pszTypeName, "char");
}

bool IsNCharType(const char* pszTypeName) {
    return IsTypeName(pszTypeName, "nvarchar") || IsTypeName(pszTypeName, "nchar");
}

bool IsBinaryType(const char* pszTypeName) {
    return IsTypeName(pszTypeName, "binary") || IsTypeName(pszTypeName, "varbinary");
}

bool IsNumericType(const char* pszTypeName) {
    return IsTypeName(pszTypeName, "numeric") || IsTypeName(pszTypeName, "decimal");
}

CString FormatSqlType(const TSqlTypeInfo& info) {
    const CString& strName = info.strTypeName;
    CString strType;
    if (info.bUserDefined)
        strType.Format("[%s]", strName);
    else if (IsCharType(strName) || IsNCharType(strName) || IsBinaryType(strName))
        strType.Format("[%s](%s)", strName, DeclaredLength(strName, info.nMaxLength).c_str());
    else if (IsNumericType(strName))
        strType.Format("[%s](%d, %d)", strName, info.nPrecision, info.nScale);
    else if (IsTypeName(strName, "float"))
        strType.Format("[%s](%d)", strName, info.nPrecision);
    else if (IsTypeName(strName, "time") || IsTypeName(strName, "datetimeoffset"))
        strType.Format("[%s](%d)", strName, info.nScale);
    else
        strType.Format("[%s]", strName);
    return strType;
}
