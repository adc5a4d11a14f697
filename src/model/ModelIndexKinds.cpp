// The families of columnstore and spatial indexes: what sys.indexes leaves to views of their own, each read
// where the server has it.
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

constexpr int kSpatial = 4;
constexpr int kClusteredColumnstore = 5;
constexpr int kNonclusteredColumnstore = 6;
// sys.partitions' data_compression of a partition kept with archive compression.
constexpr int kColumnstoreArchive = 4;

TModelIndex* FoundIndex(TModelDraft& draft, CFamilyRows& rows) {
    TDraftIndex* pIndex = FindIndex(draft, rows.Int("object_id"), rows.Int("index_id"));
    return pIndex ? &pIndex->index : nullptr;
}

// The partitions with archive compression where only some have it; none where all or none do, which the
// compression of the first partition tells.
std::vector<int> ArchivePartitions(std::vector<std::pair<int, bool>>& aPartitions) {
    std::sort(aPartitions.begin(), aPartitions.end());
    const auto nArchived =
        std::count_if(aPartitions.begin(), aPartitions.end(),
                      [](const std::pair<int, bool>& partition) { return partition.second; });
    std::vector<int> aNumbers;
    if (nArchived == 0 || static_cast<size_t>(nArchived) == aPartitions.size())
        return aNumbers;
    for (const auto& [nPartition, bArchived] : aPartitions)
        if (bArchived)
            aNumbers.push_back(nPartition);
    return aNumbers;
}

template <typename TOwner> void NameColumnsOf(const TOwner& owner, TDraftIndex& draft) {
    TModelIndex& index = draft.index;
    // The one column of a spatial index is no key to the catalog, which lists it nonetheless.
    if (index.tessellation && index.aKeys.empty() && !draft.aColumns.empty())
        index.aKeys.push_back({owner.ColumnName(draft.aColumns.front().nColumnId), false});
    // A clustered columnstore index holds every column: the catalog lists them all.
    if (index.bColumnstore && index.bClustered)
        index.aIncluded.clear();
    std::sort(draft.aOrderColumns.begin(), draft.aOrderColumns.end());
    for (const auto& [nOrdinal, nColumnId] : draft.aOrderColumns)
        index.aOrder.push_back(owner.ColumnName(nColumnId));
    index.aArchivePartitions = ArchivePartitions(draft.aColumnstoreArchive);
}

} // namespace

void AddIndexFeatures(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bPartitionCompression = !rows.IsNull("data_compression_column");
    features.bCompressionDelay = !rows.IsNull("compression_delay_column");
    features.bColumnstoreOrder = !rows.IsNull("column_store_order_column");
    features.bSpatialIndexes = !rows.IsNull("spatial_indexes_view");
    features.bSpatialTessellations = features.bSpatialIndexes && !rows.IsNull("spatial_tessellations_view");
}

void ReadIndexKind(int nType, TModelIndex& index) {
    index.bColumnstore = nType == kClusteredColumnstore || nType == kNonclusteredColumnstore;
    index.bClustered = index.bClustered || nType == kClusteredColumnstore;
    if (nType == kSpatial)
        index.tessellation = TModelTessellation{};
}

void AddCompressionDelays(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelIndex* pIndex = FoundIndex(draft, rows); pIndex && !rows.IsNull("compression_delay"))
            pIndex->nCompressionDelay = rows.Int("compression_delay");
}

void AddColumnstoreOrder(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftIndex* pIndex = FindIndex(draft, rows.Int("object_id"), rows.Int("index_id")))
            pIndex->aOrderColumns.emplace_back(rows.Int("column_store_order_ordinal"), rows.Int("column_id"));
}

void AddColumnstorePartitions(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftIndex* pIndex = FindIndex(draft, rows.Int("object_id"), rows.Int("index_id")))
            pIndex->aColumnstoreArchive.emplace_back(rows.Int("partition_number"),
                                                     rows.Int("data_compression") == kColumnstoreArchive);
}

void AddSpatialIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelIndex* pIndex = FoundIndex(draft, rows); pIndex && pIndex->tessellation)
            pIndex->tessellation->strScheme = rows.Text("tessellation_scheme");
}

void AddSpatialTessellations(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelIndex* pIndex = FoundIndex(draft, rows);
        if (!pIndex || !pIndex->tessellation)
            continue;
        TModelTessellation& tessellation = *pIndex->tessellation;
        if (!rows.IsNull("bounding_box_xmin"))
            for (const char* pszCoordinate :
                 {"bounding_box_xmin", "bounding_box_ymin", "bounding_box_xmax", "bounding_box_ymax"})
                tessellation.aBoundingBox.push_back(rows.Text(pszCoordinate));
        if (!rows.IsNull("level_1_grid_desc"))
            for (const char* pszLevel :
                 {"level_1_grid_desc", "level_2_grid_desc", "level_3_grid_desc", "level_4_grid_desc"})
                tessellation.aGrids.push_back(rows.Text(pszLevel));
        tessellation.nCellsPerObject = rows.Int("cells_per_object");
    }
}

void NameIndexKindColumns(const TDraftTable& table, TDraftIndex& index) {
    NameColumnsOf(table, index);
}

void NameIndexKindColumns(const TDraftModule& view, TDraftIndex& index) {
    NameColumnsOf(view, index);
}

void LeaveOutUnreadSpatialIndexes(std::vector<TDraftIndex>& aIndexes) {
    std::erase_if(aIndexes, [](const TDraftIndex& draft) {
        return draft.index.tessellation && draft.index.tessellation->strScheme.empty();
    });
}
