// Statistics users made on a table's columns.
#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

const TTablePart<TModelStatistic>& Part(const TPlanObject& object) {
    return std::get<TTablePart<TModelStatistic>>(object);
}

} // namespace

// A sample size is no property the catalog keeps: the server samples as it does for new statistics.
TStatements CreateStatistic(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pStatistic] = Part(object.object);
    std::vector<std::string> aColumns, aOptions;
    for (const std::string& strColumn : pStatistic->aColumns)
        aColumns.push_back(QuoteName(strColumn));
    std::string str = "CREATE STATISTICS " + QuoteName(pStatistic->strName) + " ON " +
                      QuoteName(pTable->strSchema, pTable->strName) + " (" + JoinText(aColumns) + ")";
    if (!pStatistic->strFilter.empty())
        str += " WHERE " + Parenthesized(pStatistic->strFilter);
    if (pStatistic->bNoRecompute)
        aOptions.emplace_back("NORECOMPUTE");
    if (pStatistic->bIncremental)
        aOptions.emplace_back("INCREMENTAL = ON");
    if (!aOptions.empty())
        str += " WITH " + JoinText(aOptions);
    return {{str + ";"}};
}

// T-SQL has no DROP STATISTICS IF EXISTS.
TStatements DropStatistic(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    const std::string strTable = QuoteName(key.strSchema, key.strTable);
    return {{"IF EXISTS (SELECT 1 FROM sys.stats WHERE object_id = OBJECT_ID(" + UnicodeLiteral(strTable) +
             ") AND name = " + UnicodeLiteral(key.strName) + ") DROP STATISTICS " + strTable + "." +
             QuoteName(key.strName) + ";"}};
}

// sp_autostats turns the automatic update of the statistics off or on without updating them, which UPDATE
// STATISTICS ... WITH NORECOMPUTE would.
TStatements AlterStatisticRecompute(const TPlanObject& /*from*/, const TPlanObject& to,
                                    const TAlterContext& /*context*/) {
    const auto& [pTable, pStatistic] = Part(to);
    return {
        {"EXEC sys.sp_autostats @tblname = " + UnicodeLiteral(QuoteName(pTable->strSchema, pTable->strName)) +
         ", @flagc = '" + (pStatistic->bNoRecompute ? "OFF" : "ON") +
         "', @indname = " + UnicodeLiteral(pStatistic->strName) + ";"}};
}
