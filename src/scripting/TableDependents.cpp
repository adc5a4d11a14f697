// The scripts of the objects that hang on one table, kind after kind.
#include "catalog/SQLRecDependents.h"
#include "scripting/DefaultsRules.h"
#include "scripting/Indexes.h"
#include "scripting/Keys.h"
#include "scripting/ModuleObjects.h"
#include "scripting/ScriptGuard.h"
#include "scripting/Tables.h"
#include "scripting/TypesSchemasChecks.h"

namespace {

void OpenChilds(CSQLRecChilds& rs, const char* pszSchema, const char* pszTable) {
    rs.m_strParamName = pszTable;
    rs.m_strParamSchema = pszSchema;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
}

template <class TGenerator> CString ScriptChild(TGenerator& generator, const CSQLRecChilds& rs, const char*) {
    return generator.ScriptObject(rs.m_strChildNameSchema, rs.m_strChildName);
}

// Index names are unique only within their table.
CString ScriptChild(CSQLIndexes& generator, const CSQLRecChilds& rs, const char* pszTable) {
    return generator.ScriptTableIndex(rs.m_strChildNameSchema, pszTable, rs.m_strChildName);
}

} // namespace

template <class TGenerator, class TRecChilds>
CString CSQLTable::ScriptChildObjects(const char* pszSchema, const char* pszName) {
    TGenerator generator;
    TRecChilds rs;
    OpenChilds(rs, pszSchema, pszName);
    CString strText;
    for (; !rs.IsEOF(); rs.MoveNext())
        strText += ScriptChild(generator, rs, pszName);
    return strText;
}

// The foreign key generator writes all keys of a table into one statement, so the table is scripted once,
// by its own name, whatever number of keys it has.
template <>
CString CSQLTable::ScriptChildObjects<CSQLForeignKeys, CSQLRecChildsForeign>(const char* pszSchema,
                                                                             const char* pszName) {
    CSQLRecChildsForeign rs;
    OpenChilds(rs, pszSchema, pszName);
    if (rs.IsEOF())
        return CString();
    CSQLForeignKeys generator;
    return generator.ScriptObject(rs.m_strChildNameSchema, pszName);
}

CString CSQLTable::ScriptDependents(const char* pszSchema, const char* pszName) {
    if (IsEmptyObjectName(pszName))
        return CString();
    return ScriptOrReport([pszSchema, pszName] {
        CString strText;
        strText += ScriptChildObjects<CSQLPKeys, CSQLRecChildsPrimary>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLForeignKeys, CSQLRecChildsForeign>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLIndexes, CSQLRecChildsIndexs>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLChecks, CSQLRecChildsChecks>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLDefaults, CSQLRecChildsDef>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLDriDefaults, CSQLRecChildsDefDri>(pszSchema, pszName);
        strText += ScriptChildObjects<CSQLRules, CSQLRecChildsRules>(pszSchema, pszName);
        strText += ScriptChildObjects<CSqlTriggers, CSQLRecChildsTrig>(pszSchema, pszName);
        return strText;
    });
}
