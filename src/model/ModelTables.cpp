// The families of tables: data spaces, columns with their identity and computed details, indexes with their
// columns and compression.
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

// Index types written as CREATE INDEX: clustered and nonclustered rowstore. Heaps (0) give a table's data
// space; XML, spatial, columnstore and hash indexes are left out.
constexpr int kHeap = 0;
constexpr int kClustered = 1;
constexpr int kNonclustered = 2;

TModelColumn* FindColumn(TModelTable& table, int nColumnId) {
    const auto it = std::find_if(table.aColumns.begin(), table.aColumns.end(),
                                 [&](const TModelColumn& column) { return column.nColumnId == nColumnId; });
    return it == table.aColumns.end() ? nullptr : &*it;
}

TModelColumn* FindColumn(TModelDraft& draft, int nObjectId, int nColumnId) {
    TModelTable* pTable = draft.Table(nObjectId);
    return pTable ? FindColumn(*pTable, nColumnId) : nullptr;
}

void SetIndexColumns(TModelIndex& index, std::vector<TDraftIndexColumn>& aColumns) {
    std::sort(aColumns.begin(), aColumns.end(), [](const TDraftIndexColumn& a, const TDraftIndexColumn& b) {
        return a.nIndexColumnId < b.nIndexColumnId;
    });
    std::vector<const TDraftIndexColumn*> aKeys, aPartition;
    for (const TDraftIndexColumn& column : aColumns) {
        if (column.nKeyOrdinal > 0)
            aKeys.push_back(&column);
        else if (column.bIncluded)
            index.aIncluded.push_back(column.nColumnId);
        if (column.nPartitionOrdinal > 0)
            aPartition.push_back(&column);
    }
    std::sort(aKeys.begin(), aKeys.end(),
              [](const auto* a, const auto* b) { return a->nKeyOrdinal < b->nKeyOrdinal; });
    for (const TDraftIndexColumn* pColumn : aKeys)
        index.aKeys.push_back({pColumn->nColumnId, pColumn->bDescending});
    std::sort(aPartition.begin(), aPartition.end(),
              [](const auto* a, const auto* b) { return a->nPartitionOrdinal < b->nPartitionOrdinal; });
    for (const TDraftIndexColumn* pColumn : aPartition)
        index.aPartitionColumns.push_back(pColumn->nColumnId);
}

void SetForeignKeyColumns(TModelForeignKey& key, std::vector<TDraftForeignKeyColumn>& aColumns) {
    std::sort(aColumns.begin(), aColumns.end(),
              [](const TDraftForeignKeyColumn& a, const TDraftForeignKeyColumn& b) {
                  return a.nOrdinal < b.nOrdinal;
              });
    for (const TDraftForeignKeyColumn& column : aColumns)
        key.aColumns.emplace_back(column.nColumnId, column.nReferencedColumnId);
}

} // namespace

void AddDataSpaces(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        draft.mapDataSpaces[rows.Int(0)] = rows.Text(1);
        if (rows.Bool(2))
            draft.model.strDefaultDataSpace = rows.Text(1);
    }
}

void AddColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelTable* pTable = draft.Table(rows.Int(0));
        if (!pTable)
            continue;
        TModelColumn column;
        column.nColumnId = rows.Int(1);
        column.strName = rows.Text(2);
        column.type = draft.DataType(rows.Int(3), rows.Int(4), rows.Int(5), rows.Int(6));
        column.strCollation = rows.Text(7);
        column.bNullable = rows.Bool(8);
        column.bRowGuidCol = rows.Bool(9);
        column.bSparse = rows.Bool(10);
        column.bColumnSet = rows.Bool(11);
        pTable->aColumns.push_back(std::move(column));
    }
}

void AddIdentityColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelColumn* pColumn = FindColumn(draft, rows.Int(0), rows.Int(1)))
            pColumn->identity = TModelIdentity{rows.Text(2), rows.Text(3), rows.Bool(4)};
}

void AddComputedColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelColumn* pColumn = FindColumn(draft, rows.Int(0), rows.Int(1)))
            pColumn->computed = TModelComputed{rows.Text(2), rows.Bool(3)};
}

void AddIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelTable* pTable = draft.Table(rows.Int(0));
        const int nType = rows.Int(3);
        if (!pTable || rows.Bool(12))
            continue;
        const auto dataSpace = draft.mapDataSpaces.find(rows.Int(7));
        const std::string strDataSpace =
            dataSpace == draft.mapDataSpaces.end() ? std::string() : dataSpace->second;
        if (nType == kHeap || nType == kClustered)
            pTable->strDataSpace = strDataSpace;
        if (nType != kClustered && nType != kNonclustered)
            continue;
        TModelIndex index;
        index.nIndexId = rows.Int(1);
        index.strName = rows.Text(2);
        index.bClustered = nType == kClustered;
        index.bUnique = rows.Bool(4);
        index.eKind = rows.Bool(5)   ? EModelIndexKind::PrimaryKey
                      : rows.Bool(6) ? EModelIndexKind::UniqueConstraint
                                     : EModelIndexKind::Index;
        index.strDataSpace = strDataSpace;
        index.bIgnoreDupKey = rows.Bool(8);
        index.nFillFactor = rows.Int(9);
        index.bPadded = rows.Bool(10);
        index.bDisabled = rows.Bool(11);
        index.bAllowRowLocks = rows.Bool(13);
        index.bAllowPageLocks = rows.Bool(14);
        if (rows.Bool(15))
            index.strFilter = rows.Text(16);
        pTable->aIndexes.push_back(std::move(index));
    }
}

void AddIndexColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nObjectId = rows.Int(0);
        if (!draft.Table(nObjectId))
            continue;
        draft.mapIndexColumns[IndexKey(nObjectId, rows.Int(1))].push_back(
            {rows.Int(2), rows.Int(3), rows.Int(4), rows.Int(5), rows.Bool(6), rows.Bool(7)});
    }
}

void AddPartitions(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (draft.Table(rows.Int(0)))
            draft.mapCompression[IndexKey(rows.Int(0), rows.Int(1))] = rows.Text(2);
}

void FinishTables(TModelDraft& draft) {
    for (auto& [nObjectId, table] : draft.mapTables) {
        std::sort(table.aColumns.begin(), table.aColumns.end(),
                  [](const TModelColumn& a, const TModelColumn& b) { return a.nColumnId < b.nColumnId; });
        std::sort(table.aIndexes.begin(), table.aIndexes.end(),
                  [](const TModelIndex& a, const TModelIndex& b) { return a.nIndexId < b.nIndexId; });
        if (const auto it = draft.mapIndexColumns.find(IndexKey(nObjectId, kHeap));
            it != draft.mapIndexColumns.end()) {
            TModelIndex heap;
            SetIndexColumns(heap, it->second);
            table.aPartitionColumns = heap.aPartitionColumns;
        }
        for (TModelIndex& index : table.aIndexes) {
            const std::int64_t nKey = IndexKey(nObjectId, index.nIndexId);
            if (const auto it = draft.mapIndexColumns.find(nKey); it != draft.mapIndexColumns.end())
                SetIndexColumns(index, it->second);
            if (const auto it = draft.mapCompression.find(nKey); it != draft.mapCompression.end())
                index.strCompression = it->second;
        }
        for (TModelForeignKey& key : table.aForeignKeys)
            if (const auto it = draft.mapForeignKeyColumns.find(key.nObjectId);
                it != draft.mapForeignKeyColumns.end())
                SetForeignKeyColumns(key, it->second);
        std::sort(table.aChecks.begin(), table.aChecks.end(),
                  [](const TModelCheck& a, const TModelCheck& b) { return a.strName < b.strName; });
        std::sort(table.aDefaults.begin(), table.aDefaults.end(),
                  [](const TModelDefault& a, const TModelDefault& b) { return a.nColumnId < b.nColumnId; });
        std::sort(table.aForeignKeys.begin(), table.aForeignKeys.end(),
                  [](const TModelForeignKey& a, const TModelForeignKey& b) { return a.strName < b.strName; });
    }
}
