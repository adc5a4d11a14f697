#include "model/ModelLoader.h"

#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "model/FamilyRows.h"
#include "model/ModelDraft.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <thread>

namespace {

using AddFamily = void (*)(CFamilyRows&, TModelDraft&);
using NeedsFeature = bool TModelFeatures::*;

struct TFamily {
    const char* pszFamily;
    // The select list: columns, and expressions named "AS name"; the loader reads each by that name.
    std::vector<const char*> aSelect;
    const char* pszFrom; // the view and the rows it gives
    AddFamily pfnAdd;
    NeedsFeature pFeature =
        nullptr;                  // a family whose view only some servers have; null when every server has it
    bool bWithoutFeature = false; // read instead where the server lacks the feature's view
};

// Which optional views the server has, and the database's collation: read first, as it decides which
// statements follow.
const TFamily g_database = {
    "database",
    {"CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') AS nvarchar(128)) AS collation_name",
     "OBJECT_ID('sys.sequences') AS sequences_view", "OBJECT_ID('sys.synonyms') AS synonyms_view",
     "OBJECT_ID('sys.table_types') AS table_types_view",
     "OBJECT_ID('sys.extended_properties') AS extended_properties_view",
     "OBJECT_ID('sys.sql_expression_dependencies') AS expression_dependencies_view"},
    "",
    &AddDatabase};

// Which views and columns of tables and storage the server has: read after the database's, a statement of
// its own, as each SQL Server version from 2012 on adds some.
const TFamily g_storage = {
    "table and storage features",
    {"OBJECT_ID('sys.filegroups') AS filegroups_view",
     "OBJECT_ID('sys.partition_functions') AS partition_functions_view",
     "COL_LENGTH('sys.tables', 'lob_data_space_id') AS lob_data_space_column",
     "COL_LENGTH('sys.columns', 'is_filestream') AS filestream_column",
     "COL_LENGTH('sys.tables', 'is_memory_optimized') AS memory_optimized_column",
     "COL_LENGTH('sys.table_types', 'is_memory_optimized') AS memory_optimized_type_column",
     "OBJECT_ID('sys.hash_indexes') AS hash_indexes_view",
     "COL_LENGTH('sys.tables', 'temporal_type') AS temporal_type_column",
     "COL_LENGTH('sys.tables', 'history_retention_period') AS retention_column",
     "OBJECT_ID('sys.periods') AS periods_view",
     "COL_LENGTH('sys.columns', 'generated_always_type') AS generated_always_column",
     "COL_LENGTH('sys.tables', 'is_node') AS graph_table_column",
     "COL_LENGTH('sys.columns', 'graph_type') AS graph_type_column",
     "OBJECT_ID('sys.edge_constraints') AS edge_constraints_view",
     "COL_LENGTH('sys.sql_modules', 'uses_native_compilation') AS native_compilation_column"},
    "",
    &AddStorageFeatures};

// The optional columns the census reads, asked for in their own statement after the database's, which stays
// as earlier versions recorded it: a column a server lacks would fail the statement that names it.
const TFamily g_censusProbe = {
    "optional catalog columns",
    {"COL_LENGTH('sys.tables', 'ledger_type') AS ledger_type",
     "COL_LENGTH('sys.tables', 'is_memory_optimized') AS is_memory_optimized",
     "COL_LENGTH('sys.table_types', 'is_memory_optimized') AS type_is_memory_optimized",
     "COL_LENGTH('sys.tables', 'temporal_type') AS temporal_type",
     "COL_LENGTH('sys.tables', 'is_node') AS is_node",
     "COL_LENGTH('sys.tables', 'is_filetable') AS is_filetable",
     "COL_LENGTH('sys.tables', 'is_remote_data_archive_enabled') AS is_remote_data_archive_enabled",
     "COL_LENGTH('sys.columns', 'is_masked') AS is_masked",
     "COL_LENGTH('sys.columns', 'encryption_type') AS encryption_type"},
    "",
    &AddCensusProbe};

// The census's columns: what a row is (a source and the catalog's code within it), the object it is part of,
// its schema and name; each census statement gives them from a query of its own.
const std::vector<const char*> g_aCensusColumns = {"source", "code", "object_id", "schema_id", "name"};

// Which views and columns of later versions the server has, for the features whose families read them: read
// after the database, as it decides which statements follow. One snapshot of an earlier sqlscripts lacks it
// (and so every family it decides): each reads as empty.
const TFamily g_featureViews = {
    "feature views",
    {"OBJECT_ID('sys.masked_columns') AS masked_columns_view",
     "OBJECT_ID('sys.security_policies') AS security_policies_view",
     "COL_LENGTH('sys.security_policies', 'is_schemabinding_enabled') AS schemabinding_column",
     "OBJECT_ID('sys.trigger_events') AS trigger_events_view",
     "OBJECT_ID('sys.stats_columns') AS stats_columns_view",
     "COL_LENGTH('sys.stats', 'is_incremental') AS incremental_column"},
    "",
    &AddFeatureViews};

// Which views and columns of columnstore and spatial indexes the server has: sys.partitions' compression
// (2008), a columnstore index's delay (2016) and order (2022), the spatial views (2008).
const TFamily g_indexFeatures = {
    "index features",
    {"COL_LENGTH('sys.partitions', 'data_compression') AS data_compression_column",
     "COL_LENGTH('sys.indexes', 'compression_delay') AS compression_delay_column",
     "COL_LENGTH('sys.index_columns', 'column_store_order_ordinal') AS column_store_order_column",
     "OBJECT_ID('sys.spatial_indexes') AS spatial_indexes_view",
     "OBJECT_ID('sys.spatial_index_tessellations') AS spatial_tessellations_view"},
    "",
    &AddIndexFeatures};

// Whether the database has XML schema collections of its own: their texts and typed columns are read only
// then, as a server that cannot hold any may lack XML_SCHEMA_NAMESPACE, which every SQL Server has.
const TFamily g_xmlProbe = {
    "XML schema collection count",
    {"(SELECT COUNT(*) FROM sys.xml_schema_collections WHERE schema_id <> SCHEMA_ID('sys')) AS "
     "user_collections",
     "OBJECT_ID('sys.xml_indexes') AS xml_indexes_view",
     "COL_LENGTH('sys.xml_indexes', 'xml_index_type') AS xml_index_type_column"},
    "",
    &AddXmlProbe};

// Whether the full-text views are there: a server without full-text may lack them.
const TFamily g_fullTextProbe = {"full-text views",
                                 {"OBJECT_ID('sys.fulltext_catalogs') AS catalogs_view",
                                  "OBJECT_ID('sys.fulltext_stoplists') AS stoplists_view",
                                  "OBJECT_ID('sys.fulltext_indexes') AS indexes_view",
                                  "OBJECT_ID('sys.fulltext_index_columns') AS index_columns_view"},
                                 "",
                                 &AddFullTextProbe};

// Whether the stoplists' words can be read: a view of its own, as the full-text probe has its columns.
const TFamily g_stopwordsProbe = {"full-text stopwords view",
                                  {"OBJECT_ID('sys.fulltext_stopwords') AS stopwords_view"},
                                  "",
                                  &AddStopwordsProbe};

// Whether search property lists can be read: the lists' view, the properties' view (a server may have the
// one without the other) and the full-text indexes' column that names a list.
const TFamily g_searchPropertyListProbe = {
    "search property list views",
    {"OBJECT_ID('sys.registered_search_property_lists') AS lists_view",
     "OBJECT_ID('sys.registered_search_properties') AS properties_view",
     "COL_LENGTH('sys.fulltext_indexes', 'property_list_id') AS index_property_list_column"},
    "",
    &AddSearchPropertyListProbe};

// The statements read before the others, in this order: what they find decides which others are sent. The
// census's, the feature views', the index features' and the XML probe's are read for a whole model only.
const std::vector<const TFamily*> g_aProbes = {
    &g_database, &g_storage,       &g_censusProbe,    &g_featureViews,           &g_indexFeatures,
    &g_xmlProbe, &g_fullTextProbe, &g_stopwordsProbe, &g_searchPropertyListProbe};

// Each statement reads one catalog view whole, without joins: on some servers a join of catalog views
// costs many times its parts, and the rows of objects the model leaves out are few. In the order their
// rows are put together.
// Names are asked for as nvarchar: a server that types sysname varchar sends them in its code page for
// names, which has no character for most of the world's letters.
const std::vector<TFamily> g_aFamilies = {
    {"data spaces",
     {"data_space_id", "CAST(name AS nvarchar(128)) AS name", "is_default"},
     "FROM sys.data_spaces",
     &AddDataSpaces},
    {"schemas",
     {"schema_id", "CAST(name AS nvarchar(128)) AS name",
      "CAST(USER_NAME(principal_id) AS nvarchar(128)) AS owner_name"},
     "FROM sys.schemas",
     &AddSchemas},
    {"types",
     {"user_type_id", "schema_id", "CAST(name AS nvarchar(128)) AS name", "system_type_id", "max_length",
      "precision", "scale", "is_nullable", "is_user_defined"},
     "FROM sys.types",
     &AddTypes},
    {"table types",
     {"user_type_id", "type_table_object_id"},
     "FROM sys.table_types",
     &AddTableTypes,
     &TModelFeatures::bTableTypes},
    {"objects",
     {"object_id", "schema_id", "CAST(name AS nvarchar(128)) AS name", "type", "parent_object_id"},
     "FROM sys.objects WHERE is_ms_shipped = 0 AND type IN ('U', 'V', 'P', 'FN', 'IF', 'TF', 'TR', 'SO', "
     "'SN')",
     &AddObjects},
    {"columns",
     {"object_id", "column_id", "CAST(name AS nvarchar(128)) AS name", "user_type_id", "max_length",
      "precision", "scale", "collation_name", "is_nullable", "is_rowguidcol", "is_sparse", "is_column_set"},
     "FROM sys.columns",
     &AddColumns},
    {"identity columns",
     {"object_id", "column_id", "seed_value", "increment_value", "is_not_for_replication"},
     "FROM sys.identity_columns",
     &AddIdentityColumns},
    {"computed columns",
     {"object_id", "column_id", "definition", "is_persisted"},
     "FROM sys.computed_columns",
     &AddComputedColumns},
    {"indexes",
     {"object_id", "index_id", "CAST(name AS nvarchar(128)) AS name", "type", "is_unique", "is_primary_key",
      "is_unique_constraint", "data_space_id", "ignore_dup_key", "fill_factor", "is_padded", "is_disabled",
      "is_hypothetical", "allow_row_locks", "allow_page_locks", "has_filter", "filter_definition"},
     "FROM sys.indexes",
     &AddIndexes},
    // XML indexes whole, as sys.indexes' rows that the indexes' family passes over; before their columns.
    // Selective ones (xml_index_type 2 and 3) are left to the census.
    {"xml indexes",
     {"object_id", "index_id", "CAST(name AS nvarchar(128)) AS name", "type", "is_unique", "is_primary_key",
      "is_unique_constraint", "ignore_dup_key", "fill_factor", "is_padded", "is_disabled", "is_hypothetical",
      "allow_row_locks", "allow_page_locks", "has_filter", "filter_definition", "using_xml_index_id",
      "secondary_type"},
     "FROM sys.xml_indexes WHERE xml_index_type IN (0, 1)",
     &AddXmlIndexes,
     &TModelFeatures::bXmlIndexes},
    {"xml indexes",
     {"object_id", "index_id", "CAST(name AS nvarchar(128)) AS name", "type", "is_unique", "is_primary_key",
      "is_unique_constraint", "ignore_dup_key", "fill_factor", "is_padded", "is_disabled", "is_hypothetical",
      "allow_row_locks", "allow_page_locks", "has_filter", "filter_definition", "using_xml_index_id",
      "secondary_type"},
     "FROM sys.xml_indexes",
     &AddXmlIndexes,
     &TModelFeatures::bXmlIndexesWithoutType},
    {"index columns",
     {"object_id", "index_id", "index_column_id", "column_id", "key_ordinal", "partition_ordinal",
      "is_descending_key", "is_included_column"},
     "FROM sys.index_columns",
     &AddIndexColumns},
    {"partitions",
     {"object_id", "index_id", "data_compression_desc"},
     "FROM sys.partitions WHERE partition_number = 1",
     &AddPartitions},
    {"foreign keys",
     {"object_id", "CAST(name AS nvarchar(128)) AS name", "parent_object_id", "referenced_object_id",
      "key_index_id", "is_disabled", "is_not_trusted", "is_not_for_replication", "delete_referential_action",
      "update_referential_action"},
     "FROM sys.foreign_keys",
     &AddForeignKeys},
    {"foreign key columns",
     {"constraint_object_id", "constraint_column_id", "parent_column_id", "referenced_column_id"},
     "FROM sys.foreign_key_columns",
     &AddForeignKeyColumns},
    {"checks",
     {"object_id", "CAST(name AS nvarchar(128)) AS name", "parent_object_id", "parent_column_id",
      "definition", "is_disabled", "is_not_trusted", "is_not_for_replication"},
     "FROM sys.check_constraints",
     &AddChecks},
    {"defaults",
     {"object_id", "CAST(name AS nvarchar(128)) AS name", "parent_object_id", "parent_column_id",
      "definition"},
     "FROM sys.default_constraints",
     &AddDefaults},
    // Before the modules, whose definitions they take.
    {"database triggers",
     {"object_id", "CAST(name AS nvarchar(128)) AS name", "is_disabled"},
     "FROM sys.triggers WHERE parent_class = 0 AND type = 'TR' AND is_ms_shipped = 0",
     &AddDatabaseTriggers,
     &TModelFeatures::bTriggerEvents},
    {"modules",
     {"object_id", "definition", "uses_ansi_nulls", "uses_quoted_identifier", "is_schema_bound"},
     "FROM sys.sql_modules",
     &AddModules},
    {"triggers",
     {"object_id", "parent_id", "is_disabled"},
     "FROM sys.triggers WHERE parent_class = 1",
     &AddTriggers},
    {"sequences",
     {"object_id", "user_type_id", "precision", "scale", "CONVERT(nvarchar(40), start_value) AS start_value",
      "CONVERT(nvarchar(40), increment) AS increment",
      "CONVERT(nvarchar(40), minimum_value) AS minimum_value",
      "CONVERT(nvarchar(40), maximum_value) AS maximum_value", "is_cycling", "is_cached", "cache_size"},
     "FROM sys.sequences",
     &AddSequences,
     &TModelFeatures::bSequences},
    {"sequences",
     {"SEQUENCE_SCHEMA", "SEQUENCE_NAME", "DATA_TYPE", "NUMERIC_PRECISION", "NUMERIC_SCALE",
      "CONVERT(nvarchar(40), START_VALUE) AS START_VALUE", "CONVERT(nvarchar(40), INCREMENT) AS INCREMENT",
      "CONVERT(nvarchar(40), MINIMUM_VALUE) AS MINIMUM_VALUE",
      "CONVERT(nvarchar(40), MAXIMUM_VALUE) AS MAXIMUM_VALUE", "CYCLE_OPTION"},
     "FROM INFORMATION_SCHEMA.SEQUENCES",
     &AddStandardSequences,
     &TModelFeatures::bSequences,
     true},
    {"synonyms",
     {"object_id", "base_object_name"},
     "FROM sys.synonyms",
     &AddSynonyms,
     &TModelFeatures::bSynonyms},
    {"extended properties",
     {"class", "major_id", "minor_id", "CAST(name AS nvarchar(128)) AS name",
      "CAST(value AS nvarchar(4000)) AS value",
      "CAST(SQL_VARIANT_PROPERTY(value, 'BaseType') AS nvarchar(128)) AS base_type"},
     "FROM sys.extended_properties WHERE class IN (0, 1, 2, 3, 6, 7)",
     &AddExtendedProperties,
     &TModelFeatures::bExtendedProperties},
    // Only the parameters and keys that properties are on: sys.all_parameters (some servers have no
    // sys.parameters) lists the system objects' parameters too, and keys are read as indexes otherwise.
    {"parameters",
     {"object_id", "parameter_id", "CAST(name AS nvarchar(128)) AS name"},
     "FROM sys.all_parameters WHERE object_id IN "
     "(SELECT major_id FROM sys.extended_properties WHERE class = 2)",
     &AddParameters,
     &TModelFeatures::bExtendedProperties},
    {"key constraints",
     {"object_id", "parent_object_id", "CAST(name AS nvarchar(128)) AS name"},
     "FROM sys.key_constraints WHERE object_id IN "
     "(SELECT major_id FROM sys.extended_properties WHERE class = 1)",
     &AddKeyConstraints,
     &TModelFeatures::bExtendedProperties},
    {"references",
     {"referencing_id", "referencing_minor_id", "referenced_id", "referenced_class",
      "CAST(referenced_schema_name AS nvarchar(128)) AS referenced_schema_name",
      "CAST(referenced_entity_name AS nvarchar(128)) AS referenced_entity_name"},
     "FROM sys.sql_expression_dependencies WHERE referencing_class = 1 AND referenced_server_name IS NULL "
     "AND referenced_database_name IS NULL",
     &AddReferences,
     &TModelFeatures::bExpressionDependencies},
    {"principals",
     {"CAST(name AS nvarchar(128)) AS name", "type",
      "CAST(default_schema_name AS nvarchar(128)) AS default_schema_name",
      "CAST(USER_NAME(owning_principal_id) AS nvarchar(128)) AS owner_name",
      "CAST(SUSER_SNAME(sid) AS nvarchar(128)) AS login_name", "authentication_type"},
     "FROM sys.database_principals",
     &AddPrincipals},
    {"role members",
     {"CAST(USER_NAME(role_principal_id) AS nvarchar(128)) AS role_name",
      "CAST(USER_NAME(member_principal_id) AS nvarchar(128)) AS member_name"},
     "FROM sys.database_role_members",
     &AddRoleMembers},
    {"owners",
     {"object_id", "CAST(USER_NAME(principal_id) AS nvarchar(128)) AS owner_name"},
     "FROM sys.objects WHERE principal_id IS NOT NULL AND is_ms_shipped = 0",
     &AddOwners},
    {"xml schema collections",
     {"xml_collection_id", "schema_id", "CAST(name AS nvarchar(128)) AS name"},
     "FROM sys.xml_schema_collections",
     &AddXmlSchemaCollections},
    // The securable's names where a function gives them; types and XML schema collections by their ids.
    {"permissions",
     {"class", "class_desc", "major_id", "permission_name", "state",
      "CAST(USER_NAME(grantee_principal_id) AS nvarchar(128)) AS grantee_name",
      "CASE WHEN class = 1 THEN CAST(OBJECT_SCHEMA_NAME(major_id) AS nvarchar(128)) END AS object_schema",
      "CASE WHEN class = 1 THEN CAST(OBJECT_NAME(major_id) AS nvarchar(128)) END AS object_name",
      "CASE WHEN class = 1 AND minor_id > 0 THEN CAST(COL_NAME(major_id, minor_id) AS nvarchar(128)) END AS "
      "column_name",
      "CASE WHEN class = 3 THEN CAST(SCHEMA_NAME(major_id) AS nvarchar(128)) END AS schema_name",
      "CASE WHEN class = 4 THEN CAST(USER_NAME(major_id) AS nvarchar(128)) END AS principal_name"},
     "FROM sys.database_permissions WHERE class <> 1 OR major_id > 0",
     &AddPermissions},
    // Tables and storage: each family a view or column that some servers lack, found by the second probe.
    {"filegroups",
     {"data_space_id", "CAST(name AS nvarchar(128)) AS name", "type", "is_default", "is_read_only"},
     "FROM sys.filegroups",
     &AddFilegroups,
     &TModelFeatures::bFilegroups},
    {"database files",
     {"file_id", "type", "data_space_id", "CAST(name AS nvarchar(128)) AS name", "size", "max_size", "growth",
      "is_percent_growth"},
     "FROM sys.database_files",
     &AddDatabaseFiles,
     &TModelFeatures::bFilegroups},
    {"partition functions",
     {"function_id", "CAST(name AS nvarchar(128)) AS name", "boundary_value_on_right"},
     "FROM sys.partition_functions WHERE is_system = 0",
     &AddPartitionFunctions,
     &TModelFeatures::bPartitions},
    {"partition parameters",
     {"function_id", "user_type_id", "max_length", "precision", "scale"},
     "FROM sys.partition_parameters",
     &AddPartitionParameters,
     &TModelFeatures::bPartitions},
    // Each value in the type it was stored in, which the literal is written for.
    {"partition range values",
     {"function_id", "boundary_id", "value",
      "CAST(SQL_VARIANT_PROPERTY(value, 'BaseType') AS nvarchar(128)) AS base_type"},
     "FROM sys.partition_range_values",
     &AddPartitionRangeValues,
     &TModelFeatures::bPartitions},
    {"partition schemes",
     {"data_space_id", "CAST(name AS nvarchar(128)) AS name", "function_id"},
     "FROM sys.partition_schemes",
     &AddPartitionSchemes,
     &TModelFeatures::bPartitions},
    {"destination data spaces",
     {"partition_scheme_id", "destination_id", "data_space_id"},
     "FROM sys.destination_data_spaces",
     &AddDestinationDataSpaces,
     &TModelFeatures::bPartitions},
    {"table storage",
     {"object_id", "lob_data_space_id", "filestream_data_space_id"},
     "FROM sys.tables WHERE lob_data_space_id <> 0 OR filestream_data_space_id <> 0",
     &AddTableStorage,
     &TModelFeatures::bTableStorage},
    {"filestream columns",
     {"object_id", "column_id"},
     "FROM sys.columns WHERE is_filestream = 1",
     &AddFilestreamColumns,
     &TModelFeatures::bFilestreamColumns},
    {"table durability",
     {"object_id", "durability"},
     "FROM sys.tables WHERE is_memory_optimized = 1",
     &AddMemoryOptimizedTables,
     &TModelFeatures::bMemoryOptimized},
    {"memory-optimized types",
     {"user_type_id"},
     "FROM sys.table_types WHERE is_memory_optimized = 1",
     &AddMemoryOptimizedTypes,
     &TModelFeatures::bMemoryOptimizedTableTypes},
    {"hash indexes",
     {"object_id", "index_id", "bucket_count"},
     "FROM sys.hash_indexes",
     &AddHashIndexes,
     &TModelFeatures::bHashIndexes},
    {"history tables",
     {"object_id", "history_table_id"},
     "FROM sys.tables WHERE temporal_type = 2",
     &AddTemporalTables,
     &TModelFeatures::bTemporal},
    {"history retention",
     {"object_id", "history_retention_period", "history_retention_period_unit"},
     "FROM sys.tables WHERE temporal_type = 2",
     &AddHistoryRetention,
     &TModelFeatures::bRetention},
    {"periods",
     {"object_id", "start_column_id", "end_column_id"},
     "FROM sys.periods",
     &AddPeriods,
     &TModelFeatures::bPeriods},
    // Ledger columns are generated too, by other values: what is not a period's is left to the census.
    {"generated columns",
     {"object_id", "column_id", "generated_always_type", "is_hidden"},
     "FROM sys.columns WHERE generated_always_type IN (1, 2)",
     &AddGeneratedColumns,
     &TModelFeatures::bGeneratedColumns},
    {"node and edge tables",
     {"object_id", "is_node", "is_edge"},
     "FROM sys.tables WHERE is_node = 1 OR is_edge = 1",
     &AddGraphTables,
     &TModelFeatures::bNodesAndEdges},
    {"graph columns",
     {"object_id", "column_id", "graph_type"},
     "FROM sys.columns WHERE graph_type IS NOT NULL",
     &AddGraphColumns,
     &TModelFeatures::bGraphColumns},
    {"edge constraints",
     {"object_id", "CAST(name AS nvarchar(128)) AS name", "parent_object_id", "delete_referential_action"},
     "FROM sys.edge_constraints",
     &AddEdgeConstraints,
     &TModelFeatures::bEdgeConstraints},
    {"edge constraint clauses",
     {"object_id", "clause_number", "from_object_id", "to_object_id"},
     "FROM sys.edge_constraint_clauses",
     &AddEdgeConstraintClauses,
     &TModelFeatures::bEdgeConstraints},
    {"natively compiled modules",
     {"object_id"},
     "FROM sys.sql_modules WHERE uses_native_compilation = 1",
     &AddNativeModules,
     &TModelFeatures::bNativeModules},
    // The census: the kinds of objects the other families do not read, and what tables and columns hold
    // that the model does not; the types of objects and indexes the model reads are left out here.
    // sys.assemblies' flag is compared as a number: the local test server refuses a bit compared with one
    // there.
    {"census", g_aCensusColumns,
     "FROM (SELECT CAST(N'object' AS nvarchar(40)) AS source, CAST(RTRIM(type) AS nvarchar(10)) AS code, "
     "parent_object_id AS object_id, schema_id, CAST(name AS nvarchar(128)) AS name FROM sys.objects WHERE "
     "is_ms_shipped = 0 AND type NOT IN ('U', 'V', 'P', 'FN', 'IF', 'TF', 'TR', 'SO', "
     "'SN', 'C', 'F', 'PK', 'UQ', 'TT', 'IT', 'S', 'ST') AND (type <> 'D' OR parent_object_id = 0) "
     "UNION ALL SELECT N'database trigger', N'', 0, 0, CAST(name AS nvarchar(128)) FROM sys.triggers WHERE "
     "parent_class = 0 "
     "UNION ALL SELECT N'index', CAST(type AS nvarchar(10)), object_id, 0, CAST(name AS nvarchar(128)) FROM "
     "sys.indexes WHERE type > 2 AND is_hypothetical = 0 "
     "UNION ALL SELECT N'column', N'xml', object_id, 0, CAST(name AS nvarchar(128)) FROM sys.columns WHERE "
     "xml_collection_id <> 0 "
     "UNION ALL SELECT N'statistics', N'', object_id, 0, CAST(name AS nvarchar(128)) FROM sys.stats WHERE "
     "user_created = 1 "
     "UNION ALL SELECT N'assembly', N'', 0, 0, CAST(name AS nvarchar(128)) FROM sys.assemblies WHERE "
     "CAST(is_user_defined AS int) = 1 "
     "UNION ALL SELECT N'type', N'CLR', 0, schema_id, CAST(name AS nvarchar(128)) FROM sys.assembly_types "
     "WHERE is_user_defined = 1 "
     "UNION ALL SELECT N'full-text catalog', N'', 0, 0, CAST(name AS nvarchar(128)) FROM "
     "sys.fulltext_catalogs "
     "UNION ALL SELECT N'full-text stoplist', N'', 0, 0, CAST(name AS nvarchar(128)) FROM "
     "sys.fulltext_stoplists "
     "UNION ALL SELECT N'full-text index', N'', object_id, 0, N'' FROM sys.fulltext_indexes "
     "UNION ALL SELECT N'filegroup', N'', 0, 0, CAST(name AS nvarchar(128)) FROM sys.filegroups WHERE "
     "data_space_id <> 1 "
     "UNION ALL SELECT N'partition function', N'', 0, 0, CAST(name AS nvarchar(128)) FROM "
     "sys.partition_functions "
     "UNION ALL SELECT N'partition scheme', N'', 0, 0, CAST(name AS nvarchar(128)) FROM "
     "sys.partition_schemes "
     "UNION ALL SELECT N'plan guide', N'', 0, 0, CAST(name AS nvarchar(128)) FROM sys.plan_guides) AS census",
     &AddCensus},
    {"ledger tables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, N'ledger' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.tables WHERE ledger_type <> 0) AS census",
     &AddCensus, &TModelFeatures::bLedgerTables},
    {"memory-optimized tables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, N'memory' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.tables WHERE is_memory_optimized = 1) AS census",
     &AddCensus, &TModelFeatures::bMemoryOptimizedTables},
    {"memory-optimized table types", g_aCensusColumns,
     "FROM (SELECT N'type' AS source, N'memory' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.table_types WHERE is_memory_optimized = 1) AS census",
     &AddCensus, &TModelFeatures::bMemoryOptimizedTypes},
    {"temporal tables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, N'temporal' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.tables WHERE temporal_type = 2) AS census",
     &AddCensus, &TModelFeatures::bTemporalTables},
    {"graph tables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, CASE WHEN is_node = 1 THEN N'node' ELSE N'edge' END AS code, 0 AS "
     "object_id, schema_id, CAST(name AS nvarchar(128)) AS name "
     "FROM sys.tables WHERE is_node = 1 OR is_edge = 1) AS census",
     &AddCensus, &TModelFeatures::bGraphTables},
    {"FileTables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, N'filetable' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.tables WHERE is_filetable = 1) AS census",
     &AddCensus, &TModelFeatures::bFileTables},
    {"Stretch-enabled tables", g_aCensusColumns,
     "FROM (SELECT N'table' AS source, N'stretch' AS code, 0 AS object_id, schema_id, CAST(name AS "
     "nvarchar(128)) AS name "
     "FROM sys.tables WHERE is_remote_data_archive_enabled = 1) AS census",
     &AddCensus, &TModelFeatures::bStretchTables},
    {"encrypted columns", g_aCensusColumns,
     "FROM (SELECT N'column' AS source, N'encrypted' AS code, object_id, 0 AS schema_id, "
     "CAST(name AS nvarchar(128)) AS name "
     "FROM sys.columns WHERE encryption_type IS NOT NULL) AS census",
     &AddCensus, &TModelFeatures::bEncryptedColumns},
    {"masked columns",
     {"object_id", "column_id", "masking_function"},
     "FROM sys.masked_columns WHERE is_masked = 1",
     &AddMaskedColumns,
     &TModelFeatures::bMaskedColumns},
    {"trigger order",
     {"object_id", "CAST(type_desc AS nvarchar(60)) AS type_desc", "is_first"},
     "FROM sys.trigger_events WHERE is_first = 1 OR is_last = 1",
     &AddTriggerOrder,
     &TModelFeatures::bTriggerEvents},
    {"security policies",
     {"object_id", "schema_id", "CAST(name AS nvarchar(128)) AS name", "is_enabled", "is_not_for_replication",
      "is_schemabinding_enabled"},
     "FROM sys.security_policies",
     &AddSecurityPolicies,
     &TModelFeatures::bPoliciesWithSchemaBinding},
    {"security policies",
     {"object_id", "schema_id", "CAST(name AS nvarchar(128)) AS name", "is_enabled",
      "is_not_for_replication"},
     "FROM sys.security_policies",
     &AddSecurityPolicies,
     &TModelFeatures::bPoliciesWithoutSchemaBinding},
    {"security predicates",
     {"object_id", "security_predicate_id", "target_object_id", "predicate_definition", "predicate_type",
      "operation"},
     "FROM sys.security_predicates",
     &AddSecurityPredicates,
     &TModelFeatures::bSecurityPolicies},
    // Statistics that users made: neither an index's nor those the server made itself.
    {"statistics",
     {"object_id", "stats_id", "CAST(name AS nvarchar(128)) AS name", "no_recompute", "has_filter",
      "filter_definition", "is_incremental"},
     "FROM sys.stats WHERE user_created = 1 AND is_temporary = 0",
     &AddStatistics,
     &TModelFeatures::bIncrementalStatistics},
    {"statistics",
     {"object_id", "stats_id", "CAST(name AS nvarchar(128)) AS name", "no_recompute", "has_filter",
      "filter_definition"},
     "FROM sys.stats WHERE user_created = 1 AND is_temporary = 0",
     &AddStatistics,
     &TModelFeatures::bStatisticsWithoutIncremental},
    // Of the statistics read only: every index has statistics of its own columns.
    {"statistics columns",
     {"object_id", "stats_id", "stats_column_id", "column_id"},
     "FROM sys.stats_columns c WHERE EXISTS (SELECT 1 FROM sys.stats s WHERE s.object_id = c.object_id AND "
     "s.stats_id = c.stats_id AND s.user_created = 1 AND s.is_temporary = 0)",
     &AddStatisticsColumns,
     &TModelFeatures::bStatistics},
    // Columnstore and spatial indexes: what sys.indexes and sys.index_columns do not tell of them.
    {"compression delays",
     {"object_id", "index_id", "compression_delay"},
     "FROM sys.indexes WHERE type IN (5, 6)",
     &AddCompressionDelays,
     &TModelFeatures::bCompressionDelay},
    {"columnstore order",
     {"object_id", "index_id", "column_id", "column_store_order_ordinal"},
     "FROM sys.index_columns WHERE column_store_order_ordinal > 0",
     &AddColumnstoreOrder,
     &TModelFeatures::bColumnstoreOrder},
    {"columnstore partitions",
     {"object_id", "index_id", "partition_number", "data_compression"},
     "FROM sys.partitions WHERE data_compression IN (3, 4)",
     &AddColumnstorePartitions,
     &TModelFeatures::bPartitionCompression},
    {"spatial indexes",
     {"object_id", "index_id", "CAST(tessellation_scheme AS nvarchar(128)) AS tessellation_scheme"},
     "FROM sys.spatial_indexes",
     &AddSpatialIndexes,
     &TModelFeatures::bSpatialIndexes},
    {"spatial index tessellations",
     {"object_id", "index_id", "bounding_box_xmin", "bounding_box_ymin", "bounding_box_xmax",
      "bounding_box_ymax", "CAST(level_1_grid_desc AS nvarchar(60)) AS level_1_grid_desc",
      "CAST(level_2_grid_desc AS nvarchar(60)) AS level_2_grid_desc",
      "CAST(level_3_grid_desc AS nvarchar(60)) AS level_3_grid_desc",
      "CAST(level_4_grid_desc AS nvarchar(60)) AS level_4_grid_desc", "cells_per_object"},
     "FROM sys.spatial_index_tessellations",
     &AddSpatialTessellations,
     &TModelFeatures::bSpatialTessellations},
    // The text as the server rebuilds it from the collection's components: comments and prefixes are not
    // kept, and what the server holds is what it takes back.
    {"xml schema collection texts",
     {"xml_collection_id",
      "CAST(XML_SCHEMA_NAMESPACE(SCHEMA_NAME(schema_id), name) AS nvarchar(max)) AS schema_text"},
     "FROM sys.xml_schema_collections WHERE schema_id <> SCHEMA_ID('sys')",
     &AddXmlSchemaTexts,
     &TModelFeatures::bXmlSchemaCollections},
    {"typed xml columns",
     {"object_id", "column_id", "xml_collection_id", "is_xml_document"},
     "FROM sys.columns WHERE xml_collection_id <> 0",
     &AddTypedXmlColumns,
     &TModelFeatures::bXmlSchemaCollections},
    // Catalogs and stoplists before the indexes, which name them by id; the indexes' population state is no
    // part of what they are.
    {"full-text catalogs",
     {"fulltext_catalog_id", "CAST(name AS nvarchar(128)) AS name", "is_default", "is_accent_sensitivity_on"},
     "FROM sys.fulltext_catalogs",
     &AddFullTextCatalogs,
     &TModelFeatures::bFullTextCatalogs},
    {"full-text stoplists",
     {"stoplist_id", "CAST(name AS nvarchar(128)) AS name"},
     "FROM sys.fulltext_stoplists",
     &AddFullTextStoplists,
     &TModelFeatures::bFullTextCatalogs},
    {"full-text indexes",
     {"object_id", "unique_index_id", "fulltext_catalog_id", "change_tracking_state", "stoplist_id"},
     "FROM sys.fulltext_indexes",
     &AddFullTextIndexes,
     &TModelFeatures::bFullTextIndexes},
    {"full-text index columns",
     {"object_id", "column_id", "type_column_id", "language_id"},
     "FROM sys.fulltext_index_columns",
     &AddFullTextIndexColumns,
     &TModelFeatures::bFullTextIndexes},
    // After the stoplists, which it adds to.
    {"full-text stopwords",
     {"stoplist_id", "stopword", "language_id"},
     "FROM sys.fulltext_stopwords",
     &AddFullTextStopwords,
     &TModelFeatures::bFullTextStopwords},
    // After the indexes and their columns, which they mark.
    {"disabled full-text indexes",
     {"object_id"},
     "FROM sys.fulltext_indexes WHERE is_enabled = 0",
     &AddDisabledFullTextIndexes,
     &TModelFeatures::bFullTextIndexes},
    {"full-text semantic columns",
     {"object_id", "column_id"},
     "FROM sys.fulltext_index_columns WHERE statistical_semantics = 1",
     &AddFullTextSemanticColumns,
     &TModelFeatures::bFullTextIndexes},
    // The lists before their properties and the full-text indexes that name them by id.
    {"search property lists",
     {"property_list_id", "CAST(name AS nvarchar(128)) AS name"},
     "FROM sys.registered_search_property_lists",
     &AddSearchPropertyLists,
     &TModelFeatures::bSearchPropertyListNames},
    {"search properties",
     {"property_list_id", "property_name", "CAST(property_set_guid AS nvarchar(36)) AS property_set_guid",
      "property_int_id", "property_description"},
     "FROM sys.registered_search_properties",
     &AddSearchProperties,
     &TModelFeatures::bSearchProperties},
    {"full-text index property lists",
     {"object_id", "property_list_id"},
     "FROM sys.fulltext_indexes WHERE property_list_id IS NOT NULL",
     &AddFullTextPropertyLists,
     &TModelFeatures::bFullTextPropertyLists},
};

// The statement of a family: its select list and its view.
TModelStatement Statement(const TFamily& family) {
    TModelStatement statement{family.pszFamily, "SELECT ", {}};
    for (const char* pszItem : family.aSelect) {
        const std::string_view strItem = pszItem;
        const size_t nAs = strItem.rfind(" AS ");
        statement.aColumns.push_back(nAs == std::string_view::npos ? pszItem : pszItem + nAs + 4);
        statement.strSql.append(statement.aColumns.size() > 1 ? ", " : "").append(strItem);
    }
    if (*family.pszFrom)
        statement.strSql.append(" ").append(family.pszFrom);
    return statement;
}

// The statements of the families, by the families' order; the database's and the feature views' last.
const std::vector<TModelStatement>& Statements() {
    static const std::vector<TModelStatement> aStatements = [] {
        std::vector<TModelStatement> aMade;
        for (const TFamily& family : g_aFamilies)
            aMade.push_back(Statement(family));
        for (const TFamily* pProbe : g_aProbes)
            aMade.push_back(Statement(*pProbe));
        return aMade;
    }();
    return aStatements;
}

const TModelStatement& StatementOf(const TFamily& family) {
    const auto itProbe = std::find(g_aProbes.begin(), g_aProbes.end(), &family);
    return Statements()[itProbe != g_aProbes.end()
                            ? g_aFamilies.size() + static_cast<size_t>(itProbe - g_aProbes.begin())
                            : static_cast<size_t>(&family - g_aFamilies.data())];
}

// The families every snapshot of a model holds, whichever sqlscripts recorded it: a snapshot without them
// holds no model (the module's export recorded it), and reading it fails.
bool IsRequired(const TFamily& family) {
    static const std::set<std::string_view> setRequired = {"database", "schemas", "types", "objects",
                                                           "columns"};
    return setRequired.count(family.pszFamily) != 0;
}

// True when the connection replays a snapshot that does not hold the family's statement: one recorded by an
// earlier sqlscripts, before the family was read. A recording cut short lacks statements for another reason.
bool IsUnrecorded(const CDbConnection& connection, const TFamily& family) {
    const CCatalogSnapshot* pSnapshot = connection.GetSnapshot();
    return pSnapshot && pSnapshot->GetCutShort().empty() && !IsRequired(family) &&
           !pSnapshot->Find(StatementOf(family).strSql);
}

// An answer without rows, in the columns the family reads.
std::unique_ptr<CDbResult> NoRows(const TFamily& family) {
    std::vector<TDbColumn> aColumns;
    for (const char* pszColumn : StatementOf(family).aColumns)
        aColumns.emplace_back().strName = pszColumn;
    return std::make_unique<CRowsResult>(std::move(aColumns), std::vector<TDbRowText>());
}

std::unique_ptr<CDbResult> ReadFamily(CDbConnection& connection, const TFamily& family) {
    if (IsUnrecorded(connection, family))
        return NoRows(family);
    try {
        return connection.Execute(StatementOf(family).strSql, true);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::ReadCatalog, family.pszFamily, e->GetErrorText().Str(),
                          StatementOf(family).strSql);
    }
}

void AddRows(const TFamily& family, std::unique_ptr<CDbResult> pResult, TModelDraft& draft) {
    const TModelStatement& statement = StatementOf(family);
    CFamilyRows rows(statement.pszFamily, statement.strSql, std::move(pResult), statement.aColumns);
    family.pfnAdd(rows, draft);
}

// The families' results, read on the given connections at once, each connection taking the next family
// not yet taken. The first failure, or exception of the progress callback, is rethrown once every reader
// has stopped.
class CFamilyReader {
public:
    // nRead: the statements read before these, which the progress counts.
    CFamilyReader(const std::vector<const TFamily*>& aFamilies, size_t nRead,
                  const ModelLoadProgress& progress)
        : m_aFamilies(aFamilies), m_aResults(aFamilies.size()), m_nRead(nRead), m_progress(progress) {}

    std::vector<std::unique_ptr<CDbResult>> Read(const std::vector<CDbConnection*>& aConnections) {
        std::vector<std::thread> aThreads;
        for (size_t i = 1; i < aConnections.size(); ++i)
            aThreads.emplace_back([this, pConnection = aConnections[i]] { ReadOn(*pConnection); });
        ReadOn(*aConnections.front());
        for (std::thread& thread : aThreads)
            thread.join();
        if (m_pError)
            std::rethrow_exception(m_pError);
        return std::move(m_aResults);
    }

private:
    void ReadOn(CDbConnection& connection) {
        try {
            for (size_t i = m_nNext++; i < m_aFamilies.size() && !m_bFailed; i = m_nNext++) {
                m_aResults[i] = ReadFamily(connection, *m_aFamilies[i]);
                const std::lock_guard lock(m_mutex);
                if (m_progress)
                    m_progress(m_aFamilies[i]->pszFamily, ++m_nDone + m_nRead, m_aFamilies.size() + m_nRead);
            }
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            if (!m_pError)
                m_pError = std::current_exception();
            m_bFailed = true;
        }
    }

    const std::vector<const TFamily*>& m_aFamilies;
    std::vector<std::unique_ptr<CDbResult>> m_aResults;
    const size_t m_nRead;
    const ModelLoadProgress& m_progress;
    std::atomic<size_t> m_nNext{0};
    std::atomic<bool> m_bFailed{false};
    std::mutex m_mutex;
    size_t m_nDone = 0;
    std::exception_ptr m_pError;
};

// Extra connections for the readers; one that cannot be opened is left out.
std::vector<std::unique_ptr<CDatabase>> OpenReaders(const CDatabase& db, int nConnections) {
    std::vector<std::unique_ptr<CDatabase>> aReaders;
    for (int i = 1; i < nConnections; ++i) {
        auto pReader = std::make_unique<CDatabase>();
        try {
            pReader->OpenEx(db.GetConnect(), CDatabase::noOdbcDialog);
            pReader->SetQueryTimeout(db.GetQueryTimeout());
            aReaders.push_back(std::move(pReader));
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
        }
    }
    return aReaders;
}

// The probes read first, in their order. The census speaks of a whole model's scripts, and the rows of the
// tables need none of the features the feature views and the index features decide.
std::vector<const TFamily*> ProbesFor(EModelScope eScope) {
    std::vector<const TFamily*> aProbes = g_aProbes;
    if (eScope != eModelWhole) {
        std::erase(aProbes, &g_censusProbe);
        std::erase(aProbes, &g_featureViews);
        std::erase(aProbes, &g_indexFeatures);
        std::erase(aProbes, &g_xmlProbe);
        std::erase(aProbes, &g_fullTextProbe);
        std::erase(aProbes, &g_stopwordsProbe);
        std::erase(aProbes, &g_searchPropertyListProbe);
    }
    return aProbes;
}

// The families read after the first, for a server with those features.
std::vector<const TFamily*> FamiliesFor(const TModelFeatures& features, EModelScope eScope = eModelWhole) {
    static const std::set<std::string_view> setForRows = {"schemas",
                                                          "types",
                                                          "table types",
                                                          "objects",
                                                          "columns",
                                                          "identity columns",
                                                          "computed columns",
                                                          "indexes",
                                                          "index columns",
                                                          "foreign keys",
                                                          "foreign key columns",
                                                          "history tables",
                                                          "history retention",
                                                          "periods",
                                                          "generated columns",
                                                          "node and edge tables",
                                                          "graph columns"};
    std::vector<const TFamily*> aFamilies;
    for (const TFamily& family : g_aFamilies)
        if ((!family.pFeature || features.*family.pFeature != family.bWithoutFeature) &&
            (eScope == eModelWhole || setForRows.count(family.pszFamily)))
            aFamilies.push_back(&family);
    return aFamilies;
}

// Records in name order: case-folded schema and name, then their exact spelling.
template <typename T> std::vector<T> InNameOrder(std::vector<T>&& aRecords) {
    std::vector<std::pair<std::string, T>> aKeyed;
    aKeyed.reserve(aRecords.size());
    for (T& record : aRecords)
        aKeyed.emplace_back(FoldCaseUtf8(record.strSchema) + '\0' + FoldCaseUtf8(record.strName) + '\0' +
                                record.strSchema + '\0' + record.strName,
                            std::move(record));
    std::sort(aKeyed.begin(), aKeyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<T> aSorted;
    aSorted.reserve(aKeyed.size());
    for (auto& keyed : aKeyed)
        aSorted.push_back(std::move(keyed.second));
    return aSorted;
}

template <typename T> std::vector<T> Values(std::unordered_map<int, T>&& map) {
    std::vector<T> aValues;
    aValues.reserve(map.size());
    for (auto& [nId, value] : map)
        aValues.push_back(std::move(value));
    return aValues;
}

std::vector<TModelType> UserTypes(TModelDraft& draft) {
    std::vector<TModelType> aTypes;
    for (const auto& [nId, type] : draft.mapTypes) {
        if (!type.bUserDefined)
            continue;
        TModelType& user = aTypes.emplace_back();
        user.strSchema = draft.SchemaName(type.nSchemaId);
        user.strName = type.strName;
        user.base = draft.DataType(type.nSystemTypeId, type.nMaxLength, type.nPrecision, type.nScale);
        user.bNullable = type.bNullable;
        if (const int* pTableId = Found(draft.mapTableTypes, nId))
            user.table = std::move(draft.mapTables.at(*pTableId).table);
    }
    return aTypes;
}

// The draft's records as the model's ordered lists, every catalog id resolved to the names it stands for.
// The draft's records as the model's ordered lists, every catalog id resolved to the names it stands for; the
// draft is let go as its records move, so that a large catalog is not held twice.
TCatalogModel FinishModel(TModelDraft&& draft) {
    FinishCensus(draft);
    FinishTriggers(draft);
    FinishProperties(draft);
    FinishReferences(draft);
    FinishSecurity(draft);
    FinishStorage(draft);
    FinishTableKinds(draft);
    FinishSecurityPolicies(draft);
    FinishXmlSchemaCollections(draft);
    FinishTables(draft);
    TCatalogModel& model = draft.model;
    model.aTypes = InNameOrder(UserTypes(draft));
    model.aSequences = InNameOrder(Values(std::move(draft.mapSequences)));
    model.aSynonyms = InNameOrder(Values(std::move(draft.mapSynonyms)));
    std::vector<TModelTable> aTables;
    for (auto& [nObjectId, table] : draft.mapTables)
        if (draft.mapObjects.count(nObjectId))
            aTables.push_back(std::move(table.table));
    draft.mapTables.clear();
    model.aTables = InNameOrder(std::move(aTables));
    std::vector<TModelModule> aModules;
    for (auto& [nObjectId, module] : draft.mapModules)
        aModules.push_back(std::move(module.module));
    draft.mapModules.clear();
    model.aModules = InNameOrder(std::move(aModules));
    model.BuildIndex();
    return std::move(model);
}

} // namespace

std::vector<const TModelStatement*> ModelStatements(const TModelFeatures& features) {
    std::vector<const TModelStatement*> aStatements;
    for (const TFamily* pProbe : g_aProbes)
        aStatements.push_back(&StatementOf(*pProbe));
    for (const TFamily* pFamily : FamiliesFor(features))
        aStatements.push_back(&StatementOf(*pFamily));
    return aStatements;
}

TCatalogModel LoadCatalogModel(CDatabase& db, int nConnections, const ModelLoadProgress& progress,
                               EModelScope eScope) {
    CDbConnection& connection = *db.GetBackend();
    TModelDraft draft;
    const std::vector<const TFamily*> aProbes = ProbesFor(eScope);
    for (const TFamily* pProbe : aProbes) {
        if (IsUnrecorded(connection, *pProbe))
            draft.model.aUnrecordedFamilies.emplace_back(pProbe->pszFamily);
        AddRows(*pProbe, ReadFamily(connection, *pProbe), draft);
    }
    const std::vector<const TFamily*> aFamilies = FamiliesFor(draft.model.features, eScope);
    if (progress)
        progress(aProbes.back()->pszFamily, aProbes.size(), aFamilies.size() + aProbes.size());

    const std::vector<std::unique_ptr<CDatabase>> aReaders = OpenReaders(db, nConnections);
    std::vector<CDbConnection*> aConnections{&connection};
    for (const std::unique_ptr<CDatabase>& pReader : aReaders)
        aConnections.push_back(pReader->GetBackend());
    std::vector<std::unique_ptr<CDbResult>> aResults =
        CFamilyReader(aFamilies, aProbes.size(), progress).Read(aConnections);
    for (size_t i = 0; i < aFamilies.size(); ++i) {
        if (IsUnrecorded(connection, *aFamilies[i]))
            draft.model.aUnrecordedFamilies.emplace_back(aFamilies[i]->pszFamily);
        AddRows(*aFamilies[i], std::move(aResults[i]), draft);
    }
    return FinishModel(std::move(draft));
}
