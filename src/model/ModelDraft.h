// The loader's state while the families' rows are put together into a model: the records by catalog id,
// with the ids that link them, until the references are resolved to names and the lists ordered.
#pragma once

#include "model/CatalogModel.h"
#include "model/FamilyRows.h"

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct TDraftType {
    int nSchemaId = 0;
    std::string strName;
    int nSystemTypeId = 0;
    int nMaxLength = 0;
    int nPrecision = 0;
    int nScale = 0;
    bool bNullable = true;
    bool bUserDefined = false;
};

struct TDraftObject {
    int nSchemaId = 0;
    std::string strName;
    std::string strType;
    int nParentObjectId = 0;
};

struct TDraftIndexColumn {
    int nIndexColumnId = 0;
    int nColumnId = 0;
    int nKeyOrdinal = 0;
    int nPartitionOrdinal = 0;
    bool bDescending = false;
    bool bIncluded = false;
};

struct TDraftIndex {
    int nIndexId = 0;
    TModelIndex index;
    std::vector<TDraftIndexColumn> aColumns;
    std::vector<std::pair<int, int>> aOrderColumns; // an ordered columnstore index's (ordinal, column id)
    std::vector<std::pair<int, bool>> aColumnstoreArchive; // a columnstore index's (partition, archived)
};

struct TDraftCheck {
    int nObjectId = 0;
    int nColumnId = 0;
    TModelCheck check;
};

struct TDraftDefault {
    int nObjectId = 0;
    int nColumnId = 0;
    TModelDefault def;
};

struct TDraftForeignKeyColumn {
    int nOrdinal = 0;
    int nColumnId = 0;
    int nReferencedColumnId = 0;
};

struct TDraftForeignKey {
    int nObjectId = 0;
    int nReferencedObjectId = 0;
    int nKeyIndexId = 0;
    TModelForeignKey key;
    std::vector<TDraftForeignKeyColumn> aColumns;
};

struct TDraftEdgeConstraint {
    int nObjectId = 0;
    TModelEdgeConstraint constraint;
    std::vector<std::pair<int, std::pair<int, int>>> aClauses; // clause number, (from, to) node table ids
};

struct TDraftStatistic {
    int nStatsId = 0;
    TModelStatistic statistic;
    std::vector<std::pair<int, int>> aColumns; // (stats_column_id, column_id)
};

struct TDraftFullTextColumn {
    int nColumnId = 0;
    int nTypeColumnId = 0; // 0 for none
    int nLanguage = 0;
    bool bStatisticalSemantics = false;
};

struct TDraftFullTextIndex {
    int nKeyIndexId = 0;
    TModelFullTextIndex index;
    std::vector<TDraftFullTextColumn> aColumns;
};

// A table, or a table type's table, with its parts as the families give them.
struct TDraftTable {
    TModelTable table;
    bool bTableType = false;
    int nHistoryTableId = 0; // a system-versioned table's
    // The columns a graph table's pseudo-columns stand for, which the table's columns leave out: an index on
    // $from_id is on two of them.
    std::unordered_map<int, std::string> mapGraphColumns;
    std::vector<TDraftEdgeConstraint> aEdgeConstraints;
    std::vector<TDraftIndexColumn> aHeapColumns; // a partitioned heap's partition columns
    std::vector<int> aColumnIds;                 // of the table's columns, in their order
    std::vector<TDraftIndex> aIndexes;
    std::vector<TDraftCheck> aChecks;
    std::vector<TDraftDefault> aDefaults;
    std::vector<TDraftForeignKey> aForeignKeys;
    std::vector<TDraftStatistic> aStatistics;
    std::optional<TDraftFullTextIndex> fullText;

    TModelColumn* FindColumn(int nColumnId);
    // The column's name, or the pseudo-column a graph table's column stands for; empty when the table has no
    // such column.
    const std::string& ColumnName(int nColumnId) const;
    TDraftIndex* FindIndex(int nIndexId);
    const TDraftIndex* FindIndex(int nIndexId) const;
};

struct TDraftModule {
    int nParentObjectId = 0;
    TModelModule module;
    // A view's or function's columns and a module's parameters by their ids: what properties are on.
    std::unordered_map<int, std::string> mapColumns;
    std::unordered_map<int, std::string> mapParameters;
    std::vector<TDraftIndex> aIndexes; // an indexed view's
    std::optional<TDraftFullTextIndex> fullText;

    const std::string& ColumnName(int nColumnId) const;
    TDraftIndex* FindIndex(int nIndexId);
};

// A primary key or unique constraint that a property is on: its table and name.
struct TDraftKeyConstraint {
    int nTableId = 0;
    std::string strName;
};

struct TDraftProperty {
    int nClass = 0; // 0 the database, 1 an object or column, 2 a parameter, 3 a schema, 6 a type, 7 an index
    int nMajorId = 0;
    int nMinorId = 0;
    TModelExtendedProperty property;
};

struct TDraftReference {
    int nReferencingId = 0;
    int nReferencingMinorId = 0; // a computed column's id; 0 otherwise
    int nReferencedId = 0;       // 0 when the server did not resolve the name
    std::string strReferencedSchema;
    std::string strReferencedName;
};

struct TDraftOwner {
    int nObjectId = 0;
    std::string strOwner;
};

struct TDraftPermission {
    int nClass = 0;
    int nMajorId = 0;
    TModelPermission permission;
};

struct TDraftPartitionScheme {
    int nFunctionId = 0;
    TModelPartitionScheme scheme;
};

// A row of the census's families: what it is, where, and its name.
struct TDraftCensusRow {
    std::string strSource;
    std::string strCode;
    int nObjectId = 0; // the object it is part of, or 0
    int nSchemaId = 0; // its schema, or 0
    std::string strName;
};

struct TDraftSecurityPolicy {
    TModelSecurityPolicy policy;
    std::vector<std::pair<int, TModelSecurityPredicate>>
        aPredicates; // by security_predicate_id once finished
};

struct TModelDraft {
    TCatalogModel model;
    std::unordered_map<int, std::string> mapSchemas;
    std::unordered_map<int, TDraftType> mapTypes;
    std::unordered_map<int, int> mapTableTypes; // user_type_id to the table type's table object id
    std::unordered_map<int, TDraftObject> mapObjects;
    std::unordered_map<int, std::string> mapDataSpaces;
    std::unordered_map<int, TDraftTable> mapTables;
    std::unordered_map<int, TDraftModule> mapModules;
    std::unordered_map<int, TModelSequence> mapSequences;
    std::unordered_map<int, TModelSynonym> mapSynonyms;
    std::unordered_map<int, int> mapConstraintTables; // check, default or foreign key to its table
    std::unordered_map<int, TDraftKeyConstraint> mapKeyConstraints;
    std::vector<TDraftProperty> aProperties;
    std::vector<TDraftReference> aReferences;
    std::unordered_map<int, std::pair<int, std::string>> mapXmlSchemaCollections; // to schema id and name
    std::vector<TDraftOwner> aOwners;
    std::vector<TDraftPermission> aPermissions;
    std::map<int, TModelFilegroup> mapFilegroups; // by data space id
    std::unordered_map<int, TModelPartitionFunction> mapPartitionFunctions;
    std::map<std::pair<int, int>, TModelBoundary> mapBoundaries; // by function and boundary id
    std::unordered_map<int, TDraftPartitionScheme> mapPartitionSchemes;
    std::map<std::pair<int, int>, int> mapDestinations; // by scheme and destination id: the data space
    std::vector<TDraftCensusRow> aCensus;
    std::unordered_map<int, TDraftSecurityPolicy> mapSecurityPolicies;
    std::unordered_map<int, std::string> mapFullTextCatalogs;    // by id, to the name
    std::unordered_map<int, std::string> mapFullTextStoplists;   // by id, to the name
    std::unordered_map<int, std::string> mapSearchPropertyLists; // by id, to the name

    const std::string& SchemaName(int nSchemaId) const;
    // The table or table type's table of that object id; null for any other object.
    TDraftTable* Table(int nObjectId);
    const TDraftTable* Table(int nObjectId) const;
    // The key of the object of that id: a table, table type, module, sequence, synonym or a table's
    // constraint; none for any other.
    std::optional<TModelKey> KeyOf(int nObjectId) const;
    // A column's or sequence's declared type from its user_type_id and its own length, precision and scale.
    TModelDataType DataType(int nUserTypeId, int nMaxLength, int nPrecision, int nScale) const;
    // The system type of that name, with the precision and scale given.
    TModelDataType SystemDataType(const std::string& strName, int nPrecision, int nScale) const;
};

// The value under the id, or null.
template <typename Map> auto Found(Map& map, int nId) -> decltype(&map.find(nId)->second) {
    const auto it = map.find(nId);
    return it == map.end() ? nullptr : &it->second;
}

// Each family's rows into the draft, one group of families per unit: objects and modules, tables with their
// columns and indexes, constraints.
void AddDatabase(CFamilyRows& rows, TModelDraft& draft);
void AddSchemas(CFamilyRows& rows, TModelDraft& draft);
void AddTypes(CFamilyRows& rows, TModelDraft& draft);
void AddTableTypes(CFamilyRows& rows, TModelDraft& draft);
void AddObjects(CFamilyRows& rows, TModelDraft& draft);
void AddModules(CFamilyRows& rows, TModelDraft& draft);
void AddTriggers(CFamilyRows& rows, TModelDraft& draft);
void AddSequences(CFamilyRows& rows, TModelDraft& draft);
// Sequences from INFORMATION_SCHEMA.SEQUENCES, where the server has no sys.sequences. Such a server (the
// local test server) lists there the sequence behind each identity column too, named
// <table>_<column>_seq: those are left out, as the identity column makes them again.
void AddStandardSequences(CFamilyRows& rows, TModelDraft& draft);
void AddSynonyms(CFamilyRows& rows, TModelDraft& draft);
void AddExtendedProperties(CFamilyRows& rows, TModelDraft& draft);
// The parameters and keys that properties are on, which the model otherwise does not read.
void AddParameters(CFamilyRows& rows, TModelDraft& draft);
void AddKeyConstraints(CFamilyRows& rows, TModelDraft& draft);
void AddReferences(CFamilyRows& rows, TModelDraft& draft);

void AddDataSpaces(CFamilyRows& rows, TModelDraft& draft);
void AddColumns(CFamilyRows& rows, TModelDraft& draft);
void AddIdentityColumns(CFamilyRows& rows, TModelDraft& draft);
void AddComputedColumns(CFamilyRows& rows, TModelDraft& draft);
void AddIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddIndexColumns(CFamilyRows& rows, TModelDraft& draft);
void AddPartitions(CFamilyRows& rows, TModelDraft& draft);

// Tables and storage (ModelStorage.cpp): the second probe, filegroups and files, partition functions and
// schemes, where tables keep large values and FILESTREAM data.
void AddStorageFeatures(CFamilyRows& rows, TModelDraft& draft);
void AddFilegroups(CFamilyRows& rows, TModelDraft& draft);
void AddDatabaseFiles(CFamilyRows& rows, TModelDraft& draft);
void AddPartitionFunctions(CFamilyRows& rows, TModelDraft& draft);
void AddPartitionParameters(CFamilyRows& rows, TModelDraft& draft);
void AddPartitionRangeValues(CFamilyRows& rows, TModelDraft& draft);
void AddPartitionSchemes(CFamilyRows& rows, TModelDraft& draft);
void AddDestinationDataSpaces(CFamilyRows& rows, TModelDraft& draft);
void AddTableStorage(CFamilyRows& rows, TModelDraft& draft);
void AddFilestreamColumns(CFamilyRows& rows, TModelDraft& draft);
// Memory-optimized, system-versioned and graph tables (ModelTableKinds.cpp).
void AddMemoryOptimizedTables(CFamilyRows& rows, TModelDraft& draft);
void AddMemoryOptimizedTypes(CFamilyRows& rows, TModelDraft& draft);
void AddHashIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddTemporalTables(CFamilyRows& rows, TModelDraft& draft);
void AddHistoryRetention(CFamilyRows& rows, TModelDraft& draft);
void AddPeriods(CFamilyRows& rows, TModelDraft& draft);
void AddGeneratedColumns(CFamilyRows& rows, TModelDraft& draft);
void AddGraphTables(CFamilyRows& rows, TModelDraft& draft);
// The server's own columns of graph tables are left out of the table's, their ids kept for indexes.
void AddGraphColumns(CFamilyRows& rows, TModelDraft& draft);
void AddEdgeConstraints(CFamilyRows& rows, TModelDraft& draft);
void AddEdgeConstraintClauses(CFamilyRows& rows, TModelDraft& draft);
void AddNativeModules(CFamilyRows& rows, TModelDraft& draft);

// Principals, role members, owners and permissions (ModelSecurity.cpp).
void AddPrincipals(CFamilyRows& rows, TModelDraft& draft);
void AddRoleMembers(CFamilyRows& rows, TModelDraft& draft);
void AddOwners(CFamilyRows& rows, TModelDraft& draft);
void AddXmlSchemaCollections(CFamilyRows& rows, TModelDraft& draft);
void AddPermissions(CFamilyRows& rows, TModelDraft& draft);

// Which of the views and columns of later versions the server has (ModelObjects.cpp).
void AddFeatureViews(CFamilyRows& rows, TModelDraft& draft);
// Masked columns, the triggers of the database and the order of triggers (ModelTables.cpp, ModelObjects.cpp).
void AddMaskedColumns(CFamilyRows& rows, TModelDraft& draft);
void AddDatabaseTriggers(CFamilyRows& rows, TModelDraft& draft);
void AddTriggerOrder(CFamilyRows& rows, TModelDraft& draft);
// Row-level security policies and their predicates (ModelPolicies.cpp).
void AddSecurityPolicies(CFamilyRows& rows, TModelDraft& draft);
void AddSecurityPredicates(CFamilyRows& rows, TModelDraft& draft);
// Statistics users made, and their columns (ModelStatistics.cpp).
void AddStatistics(CFamilyRows& rows, TModelDraft& draft);
void AddStatisticsColumns(CFamilyRows& rows, TModelDraft& draft);
// Whether the database has XML schema collections of its own; their texts, and the xml columns they type
// (ModelXml.cpp).
void AddXmlProbe(CFamilyRows& rows, TModelDraft& draft);
void AddXmlSchemaTexts(CFamilyRows& rows, TModelDraft& draft);
void AddTypedXmlColumns(CFamilyRows& rows, TModelDraft& draft);
// Primary and secondary XML indexes, with the primary each secondary one uses named (ModelTables.cpp).
void AddXmlIndexes(CFamilyRows& rows, TModelDraft& draft);
// Whether the full-text views are there; the catalogs and stoplists; the full-text indexes of tables and
// their columns (ModelFullText.cpp).
void AddFullTextProbe(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextCatalogs(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextStoplists(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextIndexColumns(CFamilyRows& rows, TModelDraft& draft);
// The full-text indexes that are disabled, and the columns that keep statistical semantics
// (ModelFullText.cpp).
void AddDisabledFullTextIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextSemanticColumns(CFamilyRows& rows, TModelDraft& draft);
// Whether sys.fulltext_stopwords is there; the words of each stoplist (ModelFullText.cpp).
void AddStopwordsProbe(CFamilyRows& rows, TModelDraft& draft);
void AddFullTextStopwords(CFamilyRows& rows, TModelDraft& draft);
// The key index and the columns of a table's or indexed view's full-text index, named; before its columns
// and indexes move.
void NameFullTextColumns(TDraftTable& table);
void NameFullTextColumns(TDraftModule& view);
// The search property list a full-text index reads its documents' properties with (ModelFullText.cpp).
void AddFullTextPropertyLists(CFamilyRows& rows, TModelDraft& draft);
// Whether the search property list views are there; the lists and their properties
// (ModelSearchProperties.cpp).
void AddSearchPropertyListProbe(CFamilyRows& rows, TModelDraft& draft);
void AddSearchPropertyLists(CFamilyRows& rows, TModelDraft& draft);
void AddSearchProperties(CFamilyRows& rows, TModelDraft& draft);

void AddForeignKeys(CFamilyRows& rows, TModelDraft& draft);
void AddForeignKeyColumns(CFamilyRows& rows, TModelDraft& draft);
void AddChecks(CFamilyRows& rows, TModelDraft& draft);
void AddDefaults(CFamilyRows& rows, TModelDraft& draft);

// The census (ModelCensus.cpp): which optional columns the server has, the rows of the census's families,
// and the kinds they make that the scripts do not carry.
void AddCensusProbe(CFamilyRows& rows, TModelDraft& draft);
void AddCensus(CFamilyRows& rows, TModelDraft& draft);
void FinishCensus(TModelDraft& draft);

// Each table's parts in their order, with the ids that link them resolved to names (ModelTables.cpp).
void FinishTables(TModelDraft& draft);
// The index of that id of the table or view; none for another object's (ModelTables.cpp).
TDraftIndex* FindIndex(TModelDraft& draft, int nObjectId, int nIndexId);

// Columnstore and spatial indexes (ModelIndexKinds.cpp): which of their views and columns the server has,
// what sys.indexes tells of their type, their own families, and their columns named once the table's are.
void AddIndexFeatures(CFamilyRows& rows, TModelDraft& draft);
void ReadIndexKind(int nType, TModelIndex& index);
void AddCompressionDelays(CFamilyRows& rows, TModelDraft& draft);
void AddColumnstoreOrder(CFamilyRows& rows, TModelDraft& draft);
void AddColumnstorePartitions(CFamilyRows& rows, TModelDraft& draft);
void AddSpatialIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddSpatialTessellations(CFamilyRows& rows, TModelDraft& draft);
void NameIndexKindColumns(const TDraftTable& table, TDraftIndex& index);
void NameIndexKindColumns(const TDraftModule& view, TDraftIndex& index);
// A spatial index whose tessellation was not read (a snapshot of an earlier sqlscripts) is left out: it
// cannot be written.
void LeaveOutUnreadSpatialIndexes(std::vector<TDraftIndex>& aIndexes);
// The properties and references with their targets resolved from catalog ids to keys, and the triggers'
// tables named (ModelObjects.cpp).
void FinishProperties(TModelDraft& draft);
void FinishReferences(TModelDraft& draft);
void FinishTriggers(TModelDraft& draft);
// The owners' and permissions' objects resolved from catalog ids to keys, what every database has left out.
void FinishSecurity(TModelDraft& draft);
// The filegroups, partition functions and schemes in the model's lists (ModelStorage.cpp); the history
// tables and the edge constraints' node tables named (ModelTableKinds.cpp), before the tables' parts move.
void FinishStorage(TModelDraft& draft);
void FinishTableKinds(TModelDraft& draft);
// The policies with their predicates in order, in name order (ModelPolicies.cpp).
void FinishSecurityPolicies(TModelDraft& draft);
// The XML schema collections in name order (ModelXml.cpp).
void FinishXmlSchemaCollections(TModelDraft& draft);

// dbo, guest, sys, INFORMATION_SCHEMA and the fixed roles: schemas and principals every database has.
bool IsBuiltInSchema(const std::string& strName);
