// The census family's rows into the draft, and the kinds they make that the scripts do not carry.
#include "model/ModelCensus.h"

#include "model/ModelDraft.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace {

// The kinds in the order their warnings come. A feature the scripts come to carry marks its row carried.
constexpr TCensusKind kKinds[] = {
    {"table", "ledger", "ledger table", "ledger tables", false},
    {"table", "memory", "memory-optimized table", "memory-optimized tables", true},
    {"type", "memory", "memory-optimized table type", "memory-optimized table types", true},
    {"table", "temporal", "system-versioned temporal table", "system-versioned temporal tables", true},
    {"table", "node", "graph node table", "graph node tables", true},
    {"table", "edge", "graph edge table", "graph edge tables", true},
    {"object", "EC", "edge constraint", "edge constraints", true},
    {"table", "filetable", "FileTable", "FileTables", false},
    {"table", "stretch", "Stretch-enabled table", "Stretch-enabled tables", false},
    {"object", "ET", "external table", "external tables", false},
    {"column", "masked", "masked column", "masked columns", true},
    {"column", "encrypted", "Always Encrypted column", "Always Encrypted columns", false},
    {"xml schema collection", "", "XML schema collection", "XML schema collections", true},
    {"column", "xml", "typed xml column", "typed xml columns", true},
    {"index", "3", "XML index", "XML indexes", false},
    {"index", "4", "spatial index", "spatial indexes", true},
    {"index", "5", "clustered columnstore index", "clustered columnstore indexes", true},
    {"index", "6", "nonclustered columnstore index", "nonclustered columnstore indexes", true},
    {"index", "7", "hash index", "hash indexes", true},
    {"statistics", "", "statistics object created by a user", "statistics objects created by users", true},
    {"object", "SP", "security policy", "security policies", true},
    {"database trigger", "", "database DDL trigger", "database DDL triggers", true},
    {"full-text catalog", "", "full-text catalog", "full-text catalogs", true},
    {"full-text stoplist", "", "full-text stoplist", "full-text stoplists", true},
    {"full-text index", "", "full-text index", "full-text indexes", true},
    {"search property list", "", "search property list", "search property lists", true},
    {"filegroup", "", "filegroup", "filegroups", true},
    {"partition function", "", "partition function", "partition functions", true},
    {"partition scheme", "", "partition scheme", "partition schemes", true},
    {"assembly", "", "CLR assembly", "CLR assemblies", false},
    {"type", "CLR", "CLR type", "CLR types", false},
    {"object", "AF", "CLR aggregate function", "CLR aggregate functions", false},
    {"object", "FS", "CLR scalar function", "CLR scalar functions", false},
    {"object", "FT", "CLR table-valued function", "CLR table-valued functions", false},
    {"object", "PC", "CLR procedure", "CLR procedures", false},
    {"object", "TA", "CLR trigger", "CLR triggers", false},
    {"object", "SQ", "Service Broker queue", "Service Broker queues", false},
    {"object", "R", "rule", "rules", false},
    {"object", "D", "default object", "default objects", false},
    {"object", "RF", "replication filter procedure", "replication filter procedures", false},
    {"object", "X", "extended stored procedure", "extended stored procedures", false},
    {"object", "PG", "plan guide", "plan guides", false},
    {"plan guide", "", "plan guide", "plan guides", false},
};

// The optional families that read the carried kinds: where a server, or a snapshot recorded before them,
// lacks one, its kind is not written and so is named.
struct TCensusReader {
    std::string_view strSource;
    std::string_view strCode;
    bool TModelFeatures::*pRead;
};
constexpr TCensusReader kReaders[] = {
    {"database trigger", "", &TModelFeatures::bTriggerEvents},
    {"object", "SP", &TModelFeatures::bSecurityPolicies},
    {"statistics", "", &TModelFeatures::bStatistics},
    {"filegroup", "", &TModelFeatures::bFilegroups},
    {"partition function", "", &TModelFeatures::bPartitions},
    {"partition scheme", "", &TModelFeatures::bPartitions},
    {"index", "4", &TModelFeatures::bSpatialTessellations},
    {"table", "memory", &TModelFeatures::bMemoryOptimized},
    {"type", "memory", &TModelFeatures::bMemoryOptimizedTableTypes},
    {"table", "temporal", &TModelFeatures::bTemporal},
    {"table", "node", &TModelFeatures::bNodesAndEdges},
    {"table", "edge", &TModelFeatures::bNodesAndEdges},
    {"object", "EC", &TModelFeatures::bEdgeConstraints},
    {"index", "7", &TModelFeatures::bHashIndexes},
    {"xml schema collection", "", &TModelFeatures::bXmlSchemaCollections},
    {"column", "xml", &TModelFeatures::bXmlSchemaCollections},
    {"full-text catalog", "", &TModelFeatures::bFullTextCatalogs},
    {"full-text index", "", &TModelFeatures::bFullTextIndexes},
    {"full-text stoplist", "", &TModelFeatures::bFullTextStopwords},
    {"search property list", "", &TModelFeatures::bSearchProperties},
};

// The server's own XML schema collection is in schema sys, whose id is always this one.
constexpr int kSysSchemaId = 4;

// The rows of a source whose codes the census need not know: the kinds of any other source are all listed.
bool IsOpenSource(const std::string& strSource) {
    return strSource == "object" || strSource == "index";
}

int KindOf(const std::string& strSource, const std::string& strCode) {
    for (size_t i = 0; i < std::size(kKinds); ++i)
        if (kKinds[i].strSource == strSource && kKinds[i].strCode == strCode)
            return static_cast<int>(i);
    return -1;
}

// The object of that id as a table, view or module of the model names it, with its type; none for another.
const TDraftObject* ModelObject(const TModelDraft& draft, int nObjectId) {
    return nObjectId ? Found(draft.mapObjects, nObjectId) : nullptr;
}

// An XML index the model reads: a primary or secondary one of a table, not a selective one.
bool IsReadXmlIndex(const TModelDraft& draft, const TDraftCensusRow& row) {
    const TDraftTable* pTable = row.strSource == "index" ? draft.Table(row.nObjectId) : nullptr;
    return pTable &&
           std::any_of(pTable->aIndexes.begin(), pTable->aIndexes.end(), [&](const TDraftIndex& index) {
               return !index.index.strXmlType.empty() && index.index.strName == row.strName;
           });
}

// The row's name: its object's first where it is a part of one ("dbo.Orders.IX_Body"); none for a part of
// an object the model does not hold as a table or view (a function's return table, the server's own
// tables), which goes with that object.
std::optional<std::string> RowName(const TModelDraft& draft, const TDraftCensusRow& row) {
    const TDraftObject* pObject = ModelObject(draft, row.nObjectId);
    if (!pObject && (!row.nObjectId || row.strSource == "object"))
        return (row.nSchemaId ? draft.SchemaName(row.nSchemaId) + "." : std::string()) + row.strName;
    if (!pObject || (row.strSource != "object" && pObject->strType != "U" &&
                     (row.strSource == "column" || pObject->strType != "V")))
        return std::nullopt;
    const std::string strObject = draft.SchemaName(pObject->nSchemaId) + "." + pObject->strName;
    return row.strName.empty() ? strObject : strObject + "." + row.strName;
}

// Whether the scripts carry the row: its kind is carried, the family that reads it ran, and, for a database
// trigger, it is one the model read (those of a CLR assembly are not), and for a full-text index, one the
// model read.
bool IsCarried(const TModelDraft& draft, const TDraftCensusRow& row, int nKind,
               const std::set<std::string>& setDatabaseTriggers) {
    if (nKind < 0 || !kKinds[nKind].bCarried)
        return false;
    for (const TCensusReader& reader : kReaders)
        if (reader.strSource == row.strSource && reader.strCode == row.strCode &&
            !(draft.model.features.*reader.pRead))
            return false;
    if (row.strSource == "full-text index") {
        const TDraftTable* pTable = draft.Table(row.nObjectId);
        const TDraftModule* pView = Found(draft.mapModules, row.nObjectId);
        return (pTable && pTable->fullText) || (pView && pView->fullText);
    }
    return row.strSource != "database trigger" || setDatabaseTriggers.contains(row.strName);
}

std::set<std::string> DatabaseTriggers(const TModelDraft& draft) {
    std::set<std::string> setNames;
    for (const auto& entry : draft.mapModules)
        if (entry.second.module.bOnDatabase)
            setNames.insert(entry.second.module.strName);
    return setNames;
}

} // namespace

std::span<const TCensusKind> CensusKinds() {
    return kKinds;
}

void AddCensusProbe(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bLedgerTables = !rows.IsNull("ledger_type");
    features.bMemoryOptimizedTables = !rows.IsNull("is_memory_optimized");
    features.bMemoryOptimizedTypes = !rows.IsNull("type_is_memory_optimized");
    features.bTemporalTables = !rows.IsNull("temporal_type");
    features.bGraphTables = !rows.IsNull("is_node");
    features.bFileTables = !rows.IsNull("is_filetable");
    features.bStretchTables = !rows.IsNull("is_remote_data_archive_enabled");
    features.bEncryptedColumns = !rows.IsNull("encryption_type");
}

void AddCensus(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.aCensus.push_back({rows.Text("source"), rows.Text("code"), rows.Int("object_id"),
                                 rows.Int("schema_id"), rows.Text("name")});
}

void FinishCensus(TModelDraft& draft) {
    for (const auto& [nId, collection] : draft.mapXmlSchemaCollections)
        if (collection.first != kSysSchemaId && draft.SchemaName(collection.first) != "sys")
            draft.aCensus.push_back({"xml schema collection", "", 0, collection.first, collection.second});
    for (const auto& [nId, strName] : draft.mapSearchPropertyLists)
        draft.aCensus.push_back({"search property list", "", 0, 0, strName});
    // By the kinds' order, then the unknown codes by source and code.
    std::map<std::tuple<size_t, std::string, std::string>, TModelUncarried> mapFound;
    const std::set<std::string> setDatabaseTriggers = DatabaseTriggers(draft);
    for (const TDraftCensusRow& row : draft.aCensus) {
        const int nKind = KindOf(row.strSource, row.strCode);
        if ((nKind < 0 && !IsOpenSource(row.strSource)) ||
            IsCarried(draft, row, nKind, setDatabaseTriggers) || IsReadXmlIndex(draft, row))
            continue;
        const std::optional<std::string> strName = RowName(draft, row);
        if (!strName)
            continue;
        const size_t nOrder = nKind < 0 ? std::size(kKinds) : static_cast<size_t>(nKind);
        TModelUncarried& found = mapFound[{nOrder, row.strSource, row.strCode}];
        found.nCensusKind = nKind;
        found.strSource = row.strSource;
        found.strCode = row.strCode;
        found.aNames.push_back(*strName);
    }
    draft.aCensus.clear();
    for (auto& [key, found] : mapFound) {
        std::sort(found.aNames.begin(), found.aNames.end());
        draft.model.aUncarried.push_back(std::move(found));
    }
}
