// The families of storage: which views of tables and storage the server has, filegroups with their files,
// partition functions and schemes, and where a table keeps its large values and FILESTREAM data.
#include "model/ModelDraft.h"

#include <algorithm>
#include <utility>

namespace {

// sys.database_files' types: rows (of a filegroup), log, and the folders of FILESTREAM and memory-optimized
// data.
constexpr int kRowsFile = 0;
constexpr int kLogFile = 1;
constexpr int kFilestreamFile = 2;

std::string DataSpaceName(const TModelDraft& draft, int nDataSpaceId) {
    const std::string* pName = Found(draft.mapDataSpaces, nDataSpaceId);
    return pName ? *pName : std::string();
}

template <typename T> void ByName(std::vector<T>& aRecords) {
    std::sort(aRecords.begin(), aRecords.end(), [](const T& a, const T& b) { return a.strName < b.strName; });
}

} // namespace

void AddStorageFeatures(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bFilegroups = !rows.IsNull("filegroups_view");
    features.bPartitions = !rows.IsNull("partition_functions_view");
    features.bTableStorage = !rows.IsNull("lob_data_space_column");
    features.bFilestreamColumns = !rows.IsNull("filestream_column");
    features.bMemoryOptimized = !rows.IsNull("memory_optimized_column");
    features.bMemoryOptimizedTableTypes = !rows.IsNull("memory_optimized_type_column");
    features.bHashIndexes = !rows.IsNull("hash_indexes_view");
    features.bTemporal = !rows.IsNull("temporal_type_column");
    features.bRetention = !rows.IsNull("retention_column");
    features.bPeriods = !rows.IsNull("periods_view");
    features.bGeneratedColumns = !rows.IsNull("generated_always_column");
    features.bNodesAndEdges = !rows.IsNull("graph_table_column");
    features.bGraphColumns = !rows.IsNull("graph_type_column");
    features.bEdgeConstraints = !rows.IsNull("edge_constraints_view");
    features.bNativeModules = !rows.IsNull("native_compilation_column");
}

void AddFilegroups(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelFilegroup& filegroup = draft.mapFilegroups[rows.Int("data_space_id")];
        filegroup.strName = rows.Text("name");
        filegroup.strType = rows.Text("type");
        filegroup.bDefault = rows.Bool("is_default");
        filegroup.bReadOnly = rows.Bool("is_read_only");
    }
}

// The rows come in file id order, as the catalog keeps them; files of other types (full-text catalogs of old
// versions) are left out.
void AddDatabaseFiles(CFamilyRows& rows, TModelDraft& draft) {
    std::map<int, std::pair<int, TModelFile>> mapFiles;
    while (rows.Next()) {
        const int nType = rows.Int("type");
        if (nType != kRowsFile && nType != kLogFile && nType != kFilestreamFile)
            continue;
        mapFiles[rows.Int("file_id")] = {nType == kLogFile ? 0 : rows.Int("data_space_id"),
                                         {rows.Text("name"), rows.Int("size"), rows.Int("max_size"),
                                          rows.Int("growth"), rows.Bool("is_percent_growth")}};
    }
    for (auto& [nFileId, file] : mapFiles) {
        if (file.first == 0)
            draft.model.aLogFiles.push_back(std::move(file.second));
        else if (TModelFilegroup* pFilegroup = Found(draft.mapFilegroups, file.first))
            pFilegroup->aFiles.push_back(std::move(file.second));
    }
}

void AddPartitionFunctions(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelPartitionFunction& function = draft.mapPartitionFunctions[rows.Int("function_id")];
        function.strName = rows.Text("name");
        function.bRangeRight = rows.Bool("boundary_value_on_right");
    }
}

void AddPartitionParameters(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelPartitionFunction* pFunction = Found(draft.mapPartitionFunctions, rows.Int("function_id")))
            pFunction->type = draft.DataType(rows.Int("user_type_id"), rows.Int("max_length"),
                                             rows.Int("precision"), rows.Int("scale"));
}

void AddPartitionRangeValues(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapBoundaries[{rows.Int("function_id"), rows.Int("boundary_id")}] = {rows.Value("value"),
                                                                                   rows.Text("base_type")};
}

void AddPartitionSchemes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapPartitionSchemes[rows.Int("data_space_id")] = {rows.Int("function_id"),
                                                                {rows.Text("name"), {}, {}}};
}

void AddDestinationDataSpaces(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapDestinations[{rows.Int("partition_scheme_id"), rows.Int("destination_id")}] =
            rows.Int("data_space_id");
}

void AddTableStorage(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id"))) {
            pTable->table.strLobDataSpace = DataSpaceName(draft, rows.Int("lob_data_space_id"));
            pTable->table.strFilestreamDataSpace = DataSpaceName(draft, rows.Int("filestream_data_space_id"));
        }
}

void AddFilestreamColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TDraftTable* pTable = draft.Table(rows.Int("object_id")))
            if (TModelColumn* pColumn = pTable->FindColumn(rows.Int("column_id")))
                pColumn->bFilestream = true;
}

void FinishStorage(TModelDraft& draft) {
    TCatalogModel& model = draft.model;
    for (auto& [nId, filegroup] : draft.mapFilegroups)
        model.aFilegroups.push_back(std::move(filegroup));
    for (auto& [key, boundary] : draft.mapBoundaries)
        if (TModelPartitionFunction* pFunction = Found(draft.mapPartitionFunctions, key.first))
            pFunction->aBoundaries.push_back(std::move(boundary));
    for (const auto& [key, nDataSpaceId] : draft.mapDestinations)
        if (TDraftPartitionScheme* pScheme = Found(draft.mapPartitionSchemes, key.first))
            pScheme->scheme.aFilegroups.push_back(DataSpaceName(draft, nDataSpaceId));
    for (auto& [nId, scheme] : draft.mapPartitionSchemes) {
        if (const TModelPartitionFunction* pFunction = Found(draft.mapPartitionFunctions, scheme.nFunctionId))
            scheme.scheme.strFunction = pFunction->strName;
        model.aPartitionSchemes.push_back(std::move(scheme.scheme));
    }
    for (auto& [nId, function] : draft.mapPartitionFunctions)
        model.aPartitionFunctions.push_back(std::move(function));
    ByName(model.aPartitionFunctions);
    ByName(model.aPartitionSchemes);
}
