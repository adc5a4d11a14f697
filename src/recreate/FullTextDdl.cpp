// Full-text stoplists, catalogs and the full-text indexes of tables: made after everything else, as the
// catalogs' and indexes' statements do not run inside a transaction; dropped where they exist.
#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <algorithm>

namespace {

std::string ColumnText(const TModelFullTextColumn& column) {
    std::string str = QuoteName(column.strColumn);
    if (!column.strTypeColumn.empty())
        str += " TYPE COLUMN " + QuoteName(column.strTypeColumn);
    str += " LANGUAGE " + std::to_string(column.nLanguage);
    return column.bStatisticalSemantics ? str + " STATISTICAL_SEMANTICS" : str;
}

std::string StoplistText(const TModelFullTextIndex& index) {
    if (index.bNoStoplist)
        return "OFF";
    return index.strStoplist.empty() ? "SYSTEM" : QuoteName(index.strStoplist);
}

std::string PropertyListText(const TModelFullTextIndex& index) {
    return index.strPropertyList.empty() ? "OFF" : QuoteName(index.strPropertyList);
}

// Last in the WITH list; none is the default.
std::string PropertyListOption(const TModelFullTextIndex& index) {
    return index.strPropertyList.empty() ? std::string()
                                         : ", SEARCH PROPERTY LIST = " + QuoteName(index.strPropertyList);
}

const TModelFullTextIndex& IndexOf(const TPlanObject& object) {
    return *std::get<TTablePart<TModelFullTextIndex>>(object).pPart;
}

const TModelTable& TableOf(const TPlanObject& object) {
    return *std::get<TTablePart<TModelFullTextIndex>>(object).pTable;
}

// The column of the index indexed as this one is; null for none.
const TModelFullTextColumn* AlikeIn(const TModelFullTextIndex& index, const TModelFullTextColumn& column) {
    const auto it =
        std::find_if(index.aColumns.begin(), index.aColumns.end(),
                     [&column](const TModelFullTextColumn& other) { return other.IndexedAlike(column); });
    return it == index.aColumns.end() ? nullptr : &*it;
}

// The columns of one index that the other lacks, or has with another type column or language: as ADD
// writes them, or by their names alone, as DROP does.
std::vector<std::string> ColumnsNotIn(const TModelFullTextIndex& index, const TModelFullTextIndex& other,
                                      bool bNamesAlone) {
    std::vector<std::string> aColumns;
    for (const TModelFullTextColumn& column : index.aColumns)
        if (!AlikeIn(other, column))
            aColumns.push_back(bNamesAlone ? QuoteName(column.strColumn) : ColumnText(column));
    return aColumns;
}

// A column that stays gains or loses its statistical semantics in place.
TStatements SemanticsChanged(const std::string& strAlter, const TModelFullTextIndex& fromIndex,
                             const TModelFullTextIndex& toIndex) {
    TStatements aStatements;
    for (const TModelFullTextColumn& column : toIndex.aColumns)
        if (const TModelFullTextColumn* pFrom = AlikeIn(fromIndex, column);
            pFrom && pFrom->bStatisticalSemantics != column.bStatisticalSemantics)
            aStatements.push_back({strAlter + " ALTER COLUMN " + QuoteName(column.strColumn) +
                                   (column.bStatisticalSemantics ? " ADD" : " DROP") +
                                   " STATISTICAL_SEMANTICS;"});
    return aStatements;
}

std::string EnabledText(const std::string& strAlter, const TModelFullTextIndex& index) {
    return strAlter + (index.bDisabled ? " DISABLE;" : " ENABLE;");
}

// ALTER FULLTEXT STOPLIST [name] ADD or DROP a word, in the language its LCID names.
TStatement StopwordStatement(const std::string& strStoplist, std::string_view strVerb,
                             const TModelStopword& word) {
    return {"ALTER FULLTEXT STOPLIST " + QuoteName(strStoplist) + " " + std::string(strVerb) + " " +
            UnicodeLiteral(word.strWord) + " LANGUAGE " + std::to_string(word.nLanguage) + ";"};
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
    const TModelFullTextIndex* pIndex = std::get<TTablePart<TModelFullTextIndex>>(object.object).pPart;
    std::vector<std::string> aColumns;
    for (const TModelFullTextColumn& column : pIndex->aColumns)
        aColumns.push_back(ColumnText(column));
    std::string str = "CREATE FULLTEXT INDEX ON " + QuoteName(object.key.strSchema, object.key.strTable) +
                      " (" + JoinText(aColumns) + ") KEY INDEX " + QuoteName(pIndex->strKeyIndex);
    if (!pIndex->strCatalog.empty())
        str += " ON " + QuoteName(pIndex->strCatalog);
    TStatements aStatements = {{str + " WITH (CHANGE_TRACKING = " + pIndex->strChangeTracking +
                                ", STOPLIST = " + StoplistText(*pIndex) + PropertyListOption(*pIndex) +
                                ");"}};
    if (pIndex->bDisabled)
        aStatements.push_back({EnabledText(
            "ALTER FULLTEXT INDEX ON " + QuoteName(object.key.strSchema, object.key.strTable), *pIndex)});
    return aStatements;
}

// A catalog ceases to be the default only as another becomes it, which that one's AS DEFAULT says.
TStatements AlterFullTextCatalog(const TPlanObject& from, const TPlanObject& to,
                                 const TAlterContext& /*context*/) {
    const TModelFullTextCatalog& fromCatalog = *std::get<const TModelFullTextCatalog*>(from);
    const TModelFullTextCatalog& toCatalog = *std::get<const TModelFullTextCatalog*>(to);
    const std::string strAlter = "ALTER FULLTEXT CATALOG " + QuoteName(toCatalog.strName);
    TStatements aStatements;
    if (fromCatalog.bAccentSensitive != toCatalog.bAccentSensitive)
        aStatements.push_back({strAlter + " REBUILD WITH ACCENT_SENSITIVITY = " +
                               (toCatalog.bAccentSensitive ? "ON;" : "OFF;")});
    if (toCatalog.bDefault && !fromCatalog.bDefault)
        aStatements.push_back({strAlter + " AS DEFAULT;"});
    return aStatements;
}

// Columns dropped first: one whose type column or language changes is dropped and added again. Enabled or
// disabled last, so that an index enabled again is populated once, with its columns as they end.
TStatements AlterFullTextIndex(const TPlanObject& from, const TPlanObject& to,
                               const TAlterContext& /*context*/) {
    const TModelFullTextIndex& fromIndex = IndexOf(from);
    const TModelFullTextIndex& toIndex = IndexOf(to);
    const std::string strAlter =
        "ALTER FULLTEXT INDEX ON " + QuoteName(TableOf(to).strSchema, TableOf(to).strName);
    TStatements aStatements;
    if (fromIndex.strChangeTracking != toIndex.strChangeTracking)
        aStatements.push_back({strAlter + " SET CHANGE_TRACKING = " + toIndex.strChangeTracking + ";"});
    if (StoplistText(fromIndex) != StoplistText(toIndex))
        aStatements.push_back({strAlter + " SET STOPLIST = " + StoplistText(toIndex) + ";"});
    if (fromIndex.strPropertyList != toIndex.strPropertyList)
        aStatements.push_back({strAlter + " SET SEARCH PROPERTY LIST " + PropertyListText(toIndex) + ";"});
    if (const std::vector<std::string> aDropped = ColumnsNotIn(fromIndex, toIndex, true); !aDropped.empty())
        aStatements.push_back({strAlter + " DROP (" + JoinText(aDropped) + ");"});
    if (const std::vector<std::string> aAdded = ColumnsNotIn(toIndex, fromIndex, false); !aAdded.empty())
        aStatements.push_back({strAlter + " ADD (" + JoinText(aAdded) + ");"});
    const TStatements aSemantics = SemanticsChanged(strAlter, fromIndex, toIndex);
    aStatements.insert(aStatements.end(), aSemantics.begin(), aSemantics.end());
    if (fromIndex.bDisabled != toIndex.bDisabled)
        aStatements.push_back({EnabledText(strAlter, toIndex)});
    return aStatements;
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

// Made empty, not FROM the server's own list, so that it holds the words read and no more.
TStatements CreateFullTextStoplist(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelFullTextStoplist& stoplist = *std::get<const TModelFullTextStoplist*>(object.object);
    TStatements aStatements = {{"CREATE FULLTEXT STOPLIST " + QuoteName(stoplist.strName) + ";"}};
    for (const TModelStopword& word : stoplist.aWords)
        aStatements.push_back(StopwordStatement(stoplist.strName, "ADD", word));
    return aStatements;
}

TStatements DropFullTextStoplist(TDdlObject object, const TDdlContext& /*context*/) {
    const std::string& strName = object.key.strName;
    return {{"IF EXISTS (SELECT 1 FROM sys.fulltext_stoplists WHERE name = " + UnicodeLiteral(strName) +
             ") DROP FULLTEXT STOPLIST " + QuoteName(strName) + ";"}};
}

TStatements AlterStopwords(const TPlanObject& from, const TPlanObject& to, const TAlterContext& /*context*/) {
    const TModelFullTextStoplist& fromList = *std::get<const TModelFullTextStoplist*>(from);
    const TModelFullTextStoplist& toList = *std::get<const TModelFullTextStoplist*>(to);
    TStatements aStatements;
    for (const TModelStopword& word : SortedWithout(fromList.aWords, toList.aWords))
        aStatements.push_back(StopwordStatement(toList.strName, "DROP", word));
    for (const TModelStopword& word : SortedWithout(toList.aWords, fromList.aWords))
        aStatements.push_back(StopwordStatement(toList.strName, "ADD", word));
    return aStatements;
}
