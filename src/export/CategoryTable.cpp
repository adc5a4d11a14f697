#include "export/CategoryTable.h"

#include "scripting/DefaultsRules.h"
#include "scripting/FullText.h"
#include "scripting/Indexes.h"
#include "scripting/Keys.h"
#include "scripting/ModuleObjects.h"
#include "scripting/Tables.h"
#include "scripting/TypesSchemasChecks.h"

const std::array<TCategory, SQL_CATEGORY_COUNT> g_aCategories = {{
    {eSqlDefaults, 1002, 1018, "Defaults.sql"},
    {eSqlUdt, 1005, 1019, "Udt.sql"},
    {eSqlTables, 1000, 1012, "Tables.sql"},
    {eSqlPK, 1003, 1017, "PK.sql"},
    {eSqlFK, 1032, 1022, "FK.sql"},
    {eSqlFullText, 1090, 1091, "FullText.sql"},
    {eSqlSchemas, 1092, 1093, "Schemas.sql"},
    {eSqlViews, 1001, 1013, "Views.sql"},
    {eSqlTriggers, 1006, 1014, "Triggers.sql"},
    {eSqlStoredProc, 1007, 1015, "StoredProc.sql"},
    {eSqlIndexes, 1004, 1016, "Indexes.sql"},
    {eSqlChecks, 1008, 1021, "Checks.sql"},
    {eSqlUdf, 1025, 1026, "Udf.sql"},
}};

namespace {

std::unique_ptr<CSQLTable> CreateTableGenerator(BOOL bNoCollation, ETableForm eTableForm) {
    std::unique_ptr<CSQLTable> pTables;
    if (eTableForm == ETableForm::InsertScript)
        pTables = std::make_unique<CSQLTableInsertScript>();
    else
        pTables = std::make_unique<CSQLTable>();
    pTables->m_bScriptCollation = bNoCollation ? 0 : 1;
    return pTables;
}

} // namespace

std::unique_ptr<CSQLScript> CreateCategoryGenerator(int nCategory, BOOL bNoCollation, ETableForm eTableForm) {
    switch (nCategory) {
    case eSqlDefaults:
        return std::make_unique<CSQLDefaults>();
    case eSqlUdt:
        return std::make_unique<CSQLUserTypes>();
    case eSqlTables:
        return CreateTableGenerator(bNoCollation, eTableForm);
    case eSqlPK:
        return std::make_unique<CSQLPKeys>();
    case eSqlFK:
        return std::make_unique<CSQLForeignKeys>();
    case eSqlFullText:
        return std::make_unique<CSQLFullText>();
    case eSqlSchemas:
        return std::make_unique<CSQLSchemas>();
    case eSqlViews:
        return std::make_unique<CSqlViews>();
    case eSqlTriggers:
        return std::make_unique<CSqlTriggers>();
    case eSqlStoredProc:
        return std::make_unique<CSqlProcedures>();
    case eSqlIndexes:
        return std::make_unique<CSQLIndexes>();
    case eSqlChecks:
        return std::make_unique<CSQLChecks>();
    case eSqlUdf:
        return std::make_unique<CSqlFunctions>();
    default:
        return nullptr;
    }
}

bool IsModuleCategory(int nCategory) {
    return nCategory == eSqlViews || nCategory == eSqlTriggers || nCategory == eSqlStoredProc ||
           nCategory == eSqlUdf;
}
