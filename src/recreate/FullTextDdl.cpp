// Full-text catalogs and the full-text indexes of tables: made after everything else, as none of their
// statements runs inside a transaction; dropped where they exist.
#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

std::string ColumnText(const TModelFullTextColumn& column) {
    std::string str = QuoteName(column.strColumn);
    if (!column.strTypeColumn.empty())
        str += " TYPE COLUMN " + QuoteName(column.strTypeColumn);
    return str + " LANGUAGE " + std::to_string(column.nLanguage);
}

std::string StoplistText(const TModelFullTextIndex& index) {
    if (index.bNoStoplist)
        return "OFF";
    return index.strStoplist.empty() ? "SYSTEM" : QuoteName(index.strStoplist);
}

} // namespace

// The accent sensitivity is written always: left out, it follows the database's collation.
TStatements CreateFullTextCatalog(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelFullTextCatalog& catalog = *std::get<const TModelFullTextCatalog*>(object.object);
    return {{"CREATE FULLTEXT CATALOG " + QuoteName(catalog.strName) + " WITH ACCENT_SENSITIVITY = " +
             (catalog.bAccentSensitive ? "ON" : "OFF") + (catalog.bDefault ? " AS DEFAULT;" : ";")}};
}

// A column's language is the LCID the server resolved, which does not depend on the target's languages.
TStatements CreateFullTextIndex(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pIndex] = std::get<TTablePart<TModelFullTextIndex>>(object.object);
    std::vector<std::string> aColumns;
    for (const TModelFullTextColumn& column : pIndex->aColumns)
        aColumns.push_back(ColumnText(column));
    std::string str = "CREATE FULLTEXT INDEX ON " + QuoteName(pTable->strSchema, pTable->strName) + " (" +
                      JoinText(aColumns) + ") KEY INDEX " + QuoteName(pIndex->strKeyIndex);
    if (!pIndex->strCatalog.empty())
        str += " ON " + QuoteName(pIndex->strCatalog);
    return {{str + " WITH (CHANGE_TRACKING = " + pIndex->strChangeTracking +
             ", STOPLIST = " + StoplistText(*pIndex) + ");"}};
}

TStatements DropFullTextCatalog(TDdlObject object, const TDdlContext& /*context*/) {
    const std::string& strName = object.key.strName;
    return {{"IF EXISTS (SELECT 1 FROM sys.fulltext_catalogs WHERE name = " + UnicodeLiteral(strName) +
             ") DROP FULLTEXT CATALOG " + QuoteName(strName) + ";"}};
}

TStatements DropFullTextIndex(TDdlObject object, const TDdlContext& /*context*/) {
    const std::string strTable = QuoteName(object.key.strSchema, object.key.strTable);
    return {{"IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(" +
             UnicodeLiteral(strTable) + ")) DROP FULLTEXT INDEX ON " + strTable + ";"}};
}
