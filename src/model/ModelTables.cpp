// The families of tables: data spaces, columns with their identity, computed and masking details, indexes
// with their columns and compression; and each table's parts put in order, named.
#include "model/ModelDraft.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

// Index types written: clustered and nonclustered rowstore, spatial, clustered and nonclustered columnstore,
// and the hash indexes of memory-optimized tables. Heaps (0) give a table's data space; XML indexes are left
// out.
constexpr int kHeap = 0;
constexpr int kClustered = 1;
constexpr int kNonclustered = 2;
constexpr int kSpatial = 4;
constexpr int kClusteredColumnstore = 5;
constexpr int kNonclusteredColumnstore = 6;
constexpr int kHash = 7;

bool IsRowstore(int nType) {
    return nType == kClustered || nType == kNonclustered;
}

// The types a view's indexes may have besides rowstore ones, and a table's besides those and hash indexes.
bool IsColumnstore(int nType) {
    return nType == kClusteredColumnstore || nType == kNonclusteredColumnstore;
}

// The view of that id; none for a table or another module (a function's return table has keys too, which
// its definition makes).
TDraftModule* View(TModelDraft& draft, int nObjectId) {
    TDraftModule* pModule = Found(draft.mapModules, nObjectId);
    return pModule && pModule->module.Kind() == eModelKind::View ? pModule : nullptr;
}

TModelColumn* FindColumn(TModelDraft& draft, int nObjectId, int nColumnId) {
    TDraftTable* pTable = draft.Table(nObjectId);
    return pTable ? pTable->FindColumn(nColumnId) : nullptr;
}

template <typename T, typename Key> void SortBy(std::vector<T>& aItems, Key key) {
    std::sort(aItems.begin(), aItems.end(), [&](const T& a, const T& b) { return key(a) < key(b); });
}

// The index's keys, included and partition columns by name, each in its order; the owner is a table or a
// view.
template <typename TOwner>
void SetIndexColumns(const TOwner& table, TModelIndex& index, std::vector<TDraftIndexColumn>& aColumns) {
    SortBy(aColumns, [](const TDraftIndexColumn& column) { return column.nIndexColumnId; });
    std::vector<const TDraftIndexColumn*> aKeys, aPartition;
    for (const TDraftIndexColumn& column : aColumns) {
        if (column.nKeyOrdinal > 0 || !index.strXmlType.empty()) // an XML index's one column has no ordinal
            aKeys.push_back(&column);
        else if (column.bIncluded)
            index.aIncluded.push_back(table.ColumnName(column.nColumnId));
        if (column.nPartitionOrdinal > 0)
            aPartition.push_back(&column);
    }
    SortBy(aKeys, [](const TDraftIndexColumn* pColumn) { return pColumn->nKeyOrdinal; });
    // A graph table's pseudo-column is a key once, whatever columns of the server's stand for it.
    for (const TDraftIndexColumn* pColumn : aKeys)
        if (index.aKeys.empty() || index.aKeys.back().strColumn != table.ColumnName(pColumn->nColumnId))
            index.aKeys.push_back({table.ColumnName(pColumn->nColumnId), pColumn->bDescending});
    SortBy(aPartition, [](const TDraftIndexColumn* pColumn) { return pColumn->nPartitionOrdinal; });
    for (const TDraftIndexColumn* pColumn : aPartition)
        index.aPartitionColumns.push_back(table.ColumnName(pColumn->nColumnId));
}

// What the key references, by name: the table, its columns and the index the server checks.
void NameReferences(const TModelDraft& draft, const TDraftTable& table, TDraftForeignKey& key) {
    SortBy(key.aColumns, [](const TDraftForeignKeyColumn& column) { return column.nOrdinal; });
    const TDraftTable* pReferenced = draft.Table(key.nReferencedObjectId);
    for (const TDraftForeignKeyColumn& column : key.aColumns)
        key.key.aColumns.emplace_back(table.ColumnName(column.nColumnId),
                                      pReferenced ? pReferenced->ColumnName(column.nReferencedColumnId)
                                                  : std::string());
    if (!pReferenced)
        return;
    key.key.strReferencedSchema = pReferenced->table.strSchema;
    key.key.strReferencedTable = pReferenced->table.strName;
    if (const TDraftIndex* pIndex = pReferenced->FindIndex(key.nKeyIndexId))
        key.key.strKeyIndex = pIndex->index.strName;
}

// The parts that name columns by id, named; read before any table's columns move into its record.
void NameColumns(const TModelDraft& draft, TDraftTable& table) {
    LeaveOutUnreadSpatialIndexes(table.aIndexes);
    for (TDraftIndex& index : table.aIndexes) {
        SetIndexColumns(table, index.index, index.aColumns);
        NameIndexKindColumns(table, index);
    }
    TModelIndex heap;
    SetIndexColumns(table, heap, table.aHeapColumns);
    table.table.aPartitionColumns = std::move(heap.aPartitionColumns);
    for (TDraftForeignKey& key : table.aForeignKeys)
        NameReferences(draft, table, key);
    for (TDraftCheck& check : table.aChecks)
        check.check.strColumn = check.nColumnId ? table.ColumnName(check.nColumnId) : std::string();
    for (TDraftDefault& def : table.aDefaults)
        def.def.strColumn = table.ColumnName(def.nColumnId);
    for (TDraftStatistic& statistic : table.aStatistics) {
        std::sort(statistic.aColumns.begin(), statistic.aColumns.end());
        for (const auto& [nOrdinal, nColumnId] : statistic.aColumns)
            statistic.statistic.aColumns.push_back(table.ColumnName(nColumnId));
    }
    NameFullTextColumns(table);
}

// The records the drafts hold, in the order of the key, into the table's list; the drafts are let go, so
// that a large catalog's parts are not held twice.
template <typename TDraft, typename T, typename Key>
void MoveSorted(std::vector<TDraft>& aDrafts, T TDraft::*pRecord, std::vector<T>& aRecords, Key key) {
    SortBy(aDrafts, key);
    aRecords.reserve(aDrafts.size());
    for (TDraft& draft : aDrafts)
        aRecords.push_back(std::move(draft.*pRecord));
    std::vector<TDraft>().swap(aDrafts);
}

// The columns in the order of their ids; the catalog gives them in that order, almost always.
void SortColumns(TDraftTable& draft) {
    if (std::is_sorted(draft.aColumnIds.begin(), draft.aColumnIds.end()))
        return;
    std::vector<size_t> aOrder(draft.aColumnIds.size());
    std::iota(aOrder.begin(), aOrder.end(), 0);
    SortBy(aOrder, [&](size_t i) { return draft.aColumnIds[i]; });
    std::vector<TModelColumn> aColumns;
    aColumns.reserve(aOrder.size());
    for (const size_t i : aOrder)
        aColumns.push_back(std::move(draft.table.aColumns[i]));
    draft.table.aColumns = std::move(aColumns);
}

void MoveParts(TDraftTable& draft) {
    TModelTable& table = draft.table;
    SortColumns(draft);
    MoveSorted(draft.aIndexes, &TDraftIndex::index, table.aIndexes,
               [](const TDraftIndex& index) { return index.nIndexId; });
    MoveSorted(draft.aChecks, &TDraftCheck::check, table.aChecks,
               [](const TDraftCheck& check) { return check.check.strName; });
    MoveSorted(draft.aDefaults, &TDraftDefault::def, table.aDefaults,
               [](const TDraftDefault& def) { return def.nColumnId; });
    MoveSorted(draft.aForeignKeys, &TDraftForeignKey::key, table.aForeignKeys,
               [](const TDraftForeignKey& key) { return key.key.strName; });
    MoveSorted(draft.aStatistics, &TDraftStatistic::statistic, table.aStatistics,
               [](const TDraftStatistic& statistic) { return statistic.statistic.strName; });
    if (draft.fullText)
        table.fullText = std::move(draft.fullText->index);
}

} // namespace

void AddDataSpaces(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        draft.mapDataSpaces[rows.Int("data_space_id")] = rows.Text("name");
        if (rows.Bool("is_default"))
            draft.model.strDefaultDataSpace = rows.Text("name");
    }
}

void AddColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TDraftTable* pTable = draft.Table(rows.Int("object_id"));
        if (!pTable) {
            if (TDraftModule* pModule = Found(draft.mapModules, rows.Int("object_id")))
                pModule->mapColumns[rows.Int("column_id")] = rows.Text("name");
            continue;
        }
        pTable->aColumnIds.push_back(rows.Int("column_id"));
        pTable->table.aColumns.push_back({rows.Text("name"),
                                          draft.DataType(rows.Int("user_type_id"), rows.Int("max_length"),
                                                         rows.Int("precision"), rows.Int("scale")),
                                          rows.Text("collation_name"), rows.Bool("is_nullable"),
                                          rows.Bool("is_rowguidcol"), rows.Bool("is_sparse"),
                                          rows.Bool("is_column_set"), std::nullopt, std::nullopt,
                                          eModelGenerated::None, false, false, std::string()});
    }
}

void AddIdentityColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelColumn* pColumn = FindColumn(draft, rows.Int("object_id"), rows.Int("column_id")))
            pColumn->identity = TModelIdentity{rows.Text("seed_value"), rows.Text("increment_value"),
                                               rows.Bool("is_not_for_replication")};
}

void AddComputedColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelColumn* pColumn = FindColumn(draft, rows.Int("object_id"), rows.Int("column_id")))
            pColumn->computed = TModelComputed{rows.Text("definition"), rows.Bool("is_persisted")};
}

void AddMaskedColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelColumn* pColumn = FindColumn(draft, rows.Int("object_id"), rows.Int("column_id")))
            pColumn->strMaskingFunction = rows.Text("masking_function");
}

namespace {

TDraftIndex ReadIndex(CFamilyRows& rows, const std::string& strDataSpace) {
    TDraftIndex draftIndex;
    draftIndex.nIndexId = rows.Int("index_id");
    TModelIndex& index = draftIndex.index;
    index.strName = rows.Text("name");
    index.bClustered = rows.Int("type") == kClustered;
    index.bHash = rows.Int("type") == kHash;
    index.bUnique = rows.Bool("is_unique");
    index.eKind = rows.Bool("is_primary_key")         ? eModelIndexKind::PrimaryKey
                  : rows.Bool("is_unique_constraint") ? eModelIndexKind::UniqueConstraint
                                                      : eModelIndexKind::Index;
    index.strDataSpace = strDataSpace;
    index.bIgnoreDupKey = rows.Bool("ignore_dup_key");
    index.nFillFactor = rows.Int("fill_factor");
    index.bPadded = rows.Bool("is_padded");
    index.bDisabled = rows.Bool("is_disabled");
    index.bAllowRowLocks = rows.Bool("allow_row_locks");
    index.bAllowPageLocks = rows.Bool("allow_page_locks");
    if (rows.Bool("has_filter"))
        index.strFilter = rows.Text("filter_definition");
    return draftIndex;
}

} // namespace

void AddIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int("object_id");
        const int nType = rows.Int("type");
        if (rows.Bool("is_hypothetical"))
            continue;
        const std::string* pDataSpace = Found(draft.mapDataSpaces, rows.Int("data_space_id"));
        const std::string strDataSpace = pDataSpace ? *pDataSpace : std::string();
        if (TDraftTable* pTable = draft.Table(nObjectId)) {
            if (nType == kHeap || nType == kClustered || nType == kClusteredColumnstore)
                pTable->table.strDataSpace = strDataSpace;
            if (IsRowstore(nType) || IsColumnstore(nType) || nType == kSpatial || nType == kHash) {
                pTable->aIndexes.push_back(ReadIndex(rows, strDataSpace));
                ReadIndexKind(nType, pTable->aIndexes.back().index);
            }
        } else if (TDraftModule* pView = View(draft, nObjectId);
                   pView && (IsRowstore(nType) || IsColumnstore(nType))) {
            pView->aIndexes.push_back(ReadIndex(rows, strDataSpace));
            ReadIndexKind(nType, pView->aIndexes.back().index);
        }
    }
}

// The index columns of a function's return table are passed over, as AddIndexes passes over its keys.
void AddIndexColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int("object_id");
        const int nIndexId = rows.Int("index_id");
        const TDraftIndexColumn column{rows.Int("index_column_id"),    rows.Int("column_id"),
                                       rows.Int("key_ordinal"),        rows.Int("partition_ordinal"),
                                       rows.Bool("is_descending_key"), rows.Bool("is_included_column")};
        if (nIndexId != kHeap) {
            if (TDraftIndex* pIndex = FindIndex(draft, nObjectId, nIndexId))
                pIndex->aColumns.push_back(column);
        } else if (TDraftTable* pTable = draft.Table(nObjectId)) {
            pTable->aHeapColumns.push_back(column);
        }
    }
}

TDraftIndex* FindIndex(TModelDraft& draft, int nObjectId, int nIndexId) {
    if (TDraftTable* pTable = draft.Table(nObjectId))
        return pTable->FindIndex(nIndexId);
    TDraftModule* pView = View(draft, nObjectId);
    return pView ? pView->FindIndex(nIndexId) : nullptr;
}

void AddPartitions(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftIndex* pIndex = FindIndex(draft, rows.Int("object_id"), rows.Int("index_id")))
            pIndex->index.strCompression = rows.Text("data_compression_desc");
}

void FinishTables(TModelDraft& draft) {
    for (auto& [nObjectId, table] : draft.mapTables)
        NameColumns(draft, table);
    for (auto& [nObjectId, table] : draft.mapTables)
        MoveParts(table);
    for (auto& [nObjectId, module] : draft.mapModules) {
        for (TDraftIndex& index : module.aIndexes) {
            SetIndexColumns(module, index.index, index.aColumns);
            NameIndexKindColumns(module, index);
        }
        NameFullTextColumns(module);
        if (module.fullText)
            module.module.fullText = std::move(module.fullText->index);
        MoveSorted(module.aIndexes, &TDraftIndex::index, module.module.aIndexes,
                   [](const TDraftIndex& index) { return index.nIndexId; });
    }
}

namespace {

// sys.xml_indexes' secondary_type: what a secondary XML index is FOR.
std::string XmlIndexType(const std::string& strSecondary) {
    if (strSecondary == "P")
        return "PATH";
    if (strSecondary == "V")
        return "VALUE";
    return strSecondary == "R" ? "PROPERTY" : std::string();
}

} // namespace

// An XML index has no data space of its own: it follows its table's.
void AddXmlIndexes(CFamilyRows& rows, TModelDraft& draft) {
    // Each secondary one's table, own id and primary's id: named once every one is read.
    std::vector<std::tuple<int, int, int>> aSecondary;
    while (rows.Next()) {
        TDraftTable* pTable = draft.Table(rows.Int("object_id"));
        if (!pTable || rows.Bool("is_hypothetical"))
            continue;
        TDraftIndex& index = pTable->aIndexes.emplace_back(ReadIndex(rows, std::string()));
        if (rows.IsNull("using_xml_index_id")) {
            index.index.strXmlType = "PRIMARY";
            continue;
        }
        index.index.strXmlType = XmlIndexType(rows.Text("secondary_type"));
        aSecondary.emplace_back(rows.Int("object_id"), index.nIndexId, rows.Int("using_xml_index_id"));
    }
    for (const auto& [nObjectId, nIndexId, nPrimaryId] : aSecondary) {
        TDraftTable* pTable = draft.Table(nObjectId);
        if (const TDraftIndex* pPrimary = pTable->FindIndex(nPrimaryId))
            pTable->FindIndex(nIndexId)->index.strUsingXmlIndex = pPrimary->index.strName;
    }
}
