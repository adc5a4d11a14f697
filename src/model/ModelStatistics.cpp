// The families of statistics that users made on tables' columns; named and ordered with their tables' other
// parts (ModelTables.cpp).
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

TDraftStatistic* FindStatistic(TDraftTable& table, int nStatsId) {
    const auto it =
        std::find_if(table.aStatistics.begin(), table.aStatistics.end(),
                     [&](const TDraftStatistic& statistic) { return statistic.nStatsId == nStatsId; });
    return it == table.aStatistics.end() ? nullptr : &*it;
}

} // namespace

// Those of views and of table types are passed over: the model holds statistics of tables.
void AddStatistics(CFamilyRows& rows, TModelDraft& draft) {
    const bool bIncremental = draft.model.features.bIncrementalStatistics;
    while (rows.Next()) {
        TDraftTable* pTable = draft.Table(rows.Int("object_id"));
        if (!pTable || pTable->bTableType)
            continue;
        TDraftStatistic& draftStatistic = pTable->aStatistics.emplace_back();
        draftStatistic.nStatsId = rows.Int("stats_id");
        TModelStatistic& statistic = draftStatistic.statistic;
        statistic.strName = rows.Text("name");
        statistic.bNoRecompute = rows.Bool("no_recompute");
        if (rows.Bool("has_filter"))
            statistic.strFilter = rows.Text("filter_definition");
        statistic.bIncremental = bIncremental && rows.Bool("is_incremental");
    }
}

void AddStatisticsColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            if (TDraftStatistic* pStatistic = FindStatistic(*pTable, rows.Int("stats_id")))
                pStatistic->aColumns.emplace_back(rows.Int("stats_column_id"), rows.Int("column_id"));
}
