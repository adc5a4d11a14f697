// The families of the kinds of tables beside the ordinary: memory-optimized tables and table types with their
// hash indexes, system-versioned tables with their periods and history tables, graph tables with their edge
// constraints.
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

// sys.tables' durability of a memory-optimized table whose rows live only as long as the server runs.
constexpr int kSchemaOnly = 1;
// sys.columns' generated_always_type of a period's columns.
constexpr int kRowStart = 1;
constexpr int kRowEnd = 2;
// sys.edge_constraints' delete_referential_action.
constexpr int kCascade = 1;
// sys.columns' graph_type: the node or edge id, then the FROM and TO node ids, each made of three columns.
constexpr int kGraphId = 2;
constexpr int kGraphFromId = 5;

// The retention as SYSTEM_VERSIONING takes it, from sys.tables' period and unit (-1 INFINITE, 3 DAY, 4 WEEK,
// 5 MONTH, 6 YEAR); empty for a unit not known.
std::string Retention(int nPeriod, int nUnit) {
    static constexpr const char* aUnits[] = {"DAY", "WEEK", "MONTH", "YEAR"};
    if (nUnit == -1)
        return "INFINITE";
    if (nUnit < 3 || nUnit > 6)
        return std::string();
    return std::to_string(nPeriod) + " " + aUnits[nUnit - 3] + (nPeriod == 1 ? "" : "S");
}

// The pseudo-column a graph table's column of the server stands for.
std::string GraphPseudoColumn(int nGraphType, eModelGraph eGraph) {
    if (nGraphType <= kGraphId)
        return eGraph == eModelGraph::Edge ? "$edge_id" : "$node_id";
    return nGraphType <= kGraphFromId ? "$from_id" : "$to_id";
}

void RemoveColumn(TDraftTable& table, int nColumnId) {
    const auto it = std::find(table.aColumnIds.begin(), table.aColumnIds.end(), nColumnId);
    if (it == table.aColumnIds.end())
        return;
    table.table.aColumns.erase(table.table.aColumns.begin() + (it - table.aColumnIds.begin()));
    table.aColumnIds.erase(it);
}

// The unique index on $node_id or $edge_id that the server makes where none is declared: made again by the
// server, never by a script.
bool IsServerGraphIndex(const TDraftTable& table, const TDraftIndex& index) {
    return index.index.strName.starts_with("GRAPH_UNIQUE_INDEX_") &&
           std::all_of(index.aColumns.begin(), index.aColumns.end(), [&](const TDraftIndexColumn& column) {
               return table.mapGraphColumns.count(column.nColumnId) > 0;
           });
}

void NameHistoryTable(const TModelDraft& draft, TDraftTable& table) {
    if (!table.table.versioning)
        return;
    if (const TDraftTable* pHistory = draft.Table(table.nHistoryTableId)) {
        table.table.versioning->strHistorySchema = pHistory->table.strSchema;
        table.table.versioning->strHistoryTable = pHistory->table.strName;
    }
}

void NameConnections(const TModelDraft& draft, TDraftTable& table) {
    for (TDraftEdgeConstraint& draftConstraint : table.aEdgeConstraints) {
        std::sort(draftConstraint.aClauses.begin(), draftConstraint.aClauses.end());
        for (const auto& [nClause, ends] : draftConstraint.aClauses) {
            const TDraftTable* pFrom = draft.Table(ends.first);
            const TDraftTable* pTo = draft.Table(ends.second);
            if (pFrom && pTo)
                draftConstraint.constraint.aConnections.push_back(
                    {pFrom->table.strSchema, pFrom->table.strName, pTo->table.strSchema, pTo->table.strName});
        }
        table.table.aEdgeConstraints.push_back(std::move(draftConstraint.constraint));
    }
    std::sort(
        table.table.aEdgeConstraints.begin(), table.table.aEdgeConstraints.end(),
        [](const TModelEdgeConstraint& a, const TModelEdgeConstraint& b) { return a.strName < b.strName; });
    std::vector<TDraftEdgeConstraint>().swap(table.aEdgeConstraints);
}

} // namespace

void AddMemoryOptimizedTables(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id"))) {
            pTable->table.bMemoryOptimized = true;
            pTable->table.bSchemaOnly = rows.Int("durability") == kSchemaOnly;
        }
}

void AddMemoryOptimizedTypes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (const int* pTableId = Found(draft.mapTableTypes, rows.Int("user_type_id")))
            draft.Table(*pTableId)->table.bMemoryOptimized = true;
}

void AddHashIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            if (TDraftIndex* pIndex = pTable->FindIndex(rows.Int("index_id")))
                pIndex->index.nBucketCount = rows.Int("bucket_count");
}

void AddTemporalTables(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id"))) {
            pTable->nHistoryTableId = rows.Int("history_table_id");
            pTable->table.versioning = TModelVersioning();
        }
}

void AddHistoryRetention(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")); pTable && pTable->table.versioning)
            pTable->table.versioning->strRetention =
                Retention(rows.Int("history_retention_period"), rows.Int("history_retention_period_unit"));
}

void AddPeriods(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            pTable->table.period = TModelPeriod{pTable->ColumnName(rows.Int("start_column_id")),
                                                pTable->ColumnName(rows.Int("end_column_id"))};
}

void AddGeneratedColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            if (TModelColumn* pColumn = pTable->FindColumn(rows.Int("column_id"))) {
                const int nType = rows.Int("generated_always_type");
                pColumn->eGenerated = nType == kRowStart ? eModelGenerated::RowStart
                                      : nType == kRowEnd ? eModelGenerated::RowEnd
                                                         : eModelGenerated::None;
                pColumn->bHidden = pColumn->eGenerated != eModelGenerated::None && rows.Bool("is_hidden");
            }
}

void AddGraphTables(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            pTable->table.eGraph = rows.Bool("is_edge")   ? eModelGraph::Edge
                                   : rows.Bool("is_node") ? eModelGraph::Node
                                                          : eModelGraph::None;
}

void AddGraphColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id"))) {
            const int nColumnId = rows.Int("column_id");
            pTable->mapGraphColumns[nColumnId] =
                GraphPseudoColumn(rows.Int("graph_type"), pTable->table.eGraph);
            RemoveColumn(*pTable, nColumnId);
        }
}

void AddEdgeConstraints(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nTableId = rows.Int("parent_object_id");
        TDraftTable* pTable = draft.Table(nTableId);
        if (!pTable)
            continue;
        TDraftEdgeConstraint& constraint = pTable->aEdgeConstraints.emplace_back();
        constraint.nObjectId = rows.Int("object_id");
        constraint.constraint.strName = rows.Text("name");
        constraint.constraint.bOnDeleteCascade = rows.Int("delete_referential_action") == kCascade;
        draft.mapConstraintTables[constraint.nObjectId] = nTableId;
    }
}

void AddEdgeConstraintClauses(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nConstraintId = rows.Int("object_id");
        const int* pTableId = Found(draft.mapConstraintTables, nConstraintId);
        if (!pTableId)
            continue;
        for (TDraftEdgeConstraint& constraint : draft.Table(*pTableId)->aEdgeConstraints)
            if (constraint.nObjectId == nConstraintId)
                constraint.aClauses.push_back(
                    {rows.Int("clause_number"), {rows.Int("from_object_id"), rows.Int("to_object_id")}});
    }
}

void AddNativeModules(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id")))
            pModule->module.bNativelyCompiled = true;
}

void FinishTableKinds(TModelDraft& draft) {
    for (auto& entry : draft.mapTables) {
        TDraftTable& table = entry.second;
        NameHistoryTable(draft, table);
        NameConnections(draft, table);
        if (!table.mapGraphColumns.empty())
            std::erase_if(table.aIndexes,
                          [&](const TDraftIndex& index) { return IsServerGraphIndex(table, index); });
    }
}
