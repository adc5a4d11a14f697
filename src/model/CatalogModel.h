// The catalog model: what a database holds, as plain values read by one set-based statement per family.
// Records name each other (a foreign key its referenced table and columns, an index its columns), so that two
// models of different databases can be matched by name and compared record by record; catalog ids stay in
// the loader. Names are as the catalog spells them, text (definitions, expressions) whole.
#pragma once

#include "ModelKey.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The kinds of objects a model holds, the first ones in their usual apply order, the security kinds after
// them (users and roles being made before the schemas they own and the rest after everything else), then
// the kinds added since, which the kinds table places.
enum class eModelKind {
    Schema,
    AliasType,
    TableType,
    Sequence,
    Synonym,
    Table,
    Column, // a table's column, made with its table or added to it
    Key,    // a table's primary key or unique constraint, made with its table or added to it
    Check,
    Default,
    Index,
    ForeignKey,
    View,
    Function,
    Procedure,
    Trigger,
    Property,
    User,
    Role,
    ApplicationRole,
    RoleMember, // a member of a role: the role as the table, the member as the name
    Owner,      // an object's owner where it is not its schema's
    Permission, // the permissions on one securable: the database, a schema, an object, a type, a principal
    Filegroup,  // the database's own, in no schema, as partition functions and schemes are
    PartitionFunction,
    PartitionScheme,
    Versioning,     // a table's SYSTEM_VERSIONING, a part of it named so: its history table a property
    EdgeConstraint, // an edge table's CONNECTION constraint
    SecurityPolicy,
    DatabaseTrigger, // a trigger of the database, fired by DDL: no schema
    Statistic,       // statistics a user made on a table's columns: the table as the table
    XmlSchemaCollection,
    FullTextCatalog, // of the database: no schema
    FullTextIndex,   // a table's one, under the table's name
    // of the database, as a catalog is
    FullTextStoplist,
    SearchPropertyList, // of the database, as a stoplist is
};
constexpr size_t MODEL_KIND_COUNT = static_cast<size_t>(eModelKind::SearchPropertyList) + 1;

// A declared data type: a system type with its length, precision and scale, or a user-defined type.
struct TModelDataType {
    std::string strName;       // as declared: the system type's name, or the user type's name
    std::string strSchema;     // the user type's schema; empty for a system type
    std::string strSystemName; // the system type the values have (an alias type's base type)
    int nMaxLength = 0;        // bytes; -1 for max
    int nPrecision = 0;
    int nScale = 0;
    // Typed xml: the XML schema collection its values are valid for, and DOCUMENT (else CONTENT).
    std::string strXmlSchema{};
    std::string strXmlCollection{}; // empty for untyped xml and every other type
    bool bXmlDocument = false;

    bool IsUserDefined() const { return !strSchema.empty(); }
    bool IsTypedXml() const { return !strXmlCollection.empty(); }
    bool operator==(const TModelDataType&) const = default;
};

struct TModelIdentity {
    std::string strSeed;
    std::string strIncrement;
    bool bNotForReplication = false;

    bool operator==(const TModelIdentity&) const = default;
};

// What a column of a system-versioned table's period holds: GENERATED ALWAYS AS ROW START or END.
enum class eModelGenerated { None, RowStart, RowEnd };

struct TModelComputed {
    std::string strDefinition;
    bool bPersisted = false;

    bool operator==(const TModelComputed&) const = default;
};

struct TModelColumn {
    std::string strName;
    TModelDataType type;
    std::string strCollation; // empty for types without one
    bool bNullable = true;
    bool bRowGuidCol = false;
    bool bSparse = false;
    bool bColumnSet = false;
    std::optional<TModelIdentity> identity;
    std::optional<TModelComputed> computed;
    eModelGenerated eGenerated = eModelGenerated::None;
    bool bHidden = false;     // left out of SELECT * (a period column declared HIDDEN)
    bool bFilestream = false; // varbinary(max) FILESTREAM
    std::string
        strMaskingFunction; // a dynamic data mask's function as stored: "partial(1, \"xx\", 1)"; empty: none

    // rowversion (timestamp) values are made by the server, never given.
    bool IsRowVersion() const { return type.strSystemName == "timestamp"; }
    bool operator==(const TModelColumn&) const = default;
};

struct TModelIndexColumn {
    std::string strColumn;
    bool bDescending = false;

    bool operator==(const TModelIndexColumn&) const = default;
};

enum class eModelIndexKind { Index, PrimaryKey, UniqueConstraint };

// How a spatial index decomposes its column's shapes into cells: the scheme, a geometry index's bounding box,
// the density of each of the four grid levels (not for the AUTO_GRID schemes, whose levels the server picks)
// and the cells per shape.
struct TModelTessellation {
    std::string strScheme; // GEOMETRY_GRID, GEOMETRY_AUTO_GRID, GEOGRAPHY_GRID, GEOGRAPHY_AUTO_GRID
    // xmin, ymin, xmax, ymax as the server gave them; empty for geography
    std::vector<std::string> aBoundingBox;
    std::vector<std::string> aGrids; // LOW, MEDIUM or HIGH for levels 1 to 4; empty for AUTO_GRID
    int nCellsPerObject = 0;

    bool operator==(const TModelTessellation&) const = default;
};

struct TModelIndex {
    std::string strName;
    eModelIndexKind eKind = eModelIndexKind::Index;
    bool bClustered = false;
    bool bUnique = false;
    std::vector<TModelIndexColumn> aKeys;       // in key order
    std::vector<std::string> aIncluded;         // in the catalog's order
    std::vector<std::string> aPartitionColumns; // of a partitioned index, in partition order
    std::string strFilter;                      // WHERE of a filtered index, as stored; empty for none
    int nFillFactor = 0;
    bool bPadded = false;
    bool bIgnoreDupKey = false;
    bool bAllowRowLocks = true;
    bool bAllowPageLocks = true;
    bool bDisabled = false;
    std::string strCompression; // NONE, ROW, PAGE, ... of the first partition; empty when not reported
    std::string strDataSpace;   // filegroup or partition scheme
    bool bHash = false;         // NONCLUSTERED HASH, of a memory-optimized table or table type
    int nBucketCount = 0;       // a hash index's buckets, as the server rounded them; 0 where not said
    // A columnstore index: a clustered one holds every column (aIncluded stays empty), a nonclustered one
    // those of aIncluded; its rows enter the column store after nCompressionDelay minutes, an ordered
    // clustered one sorted by aOrder. The partitions kept with archive compression are listed where only some
    // are; where all are, strCompression says COLUMNSTORE_ARCHIVE.
    bool bColumnstore = false;
    int nCompressionDelay = 0;
    std::vector<std::string> aOrder;
    std::vector<int> aArchivePartitions;
    std::optional<TModelTessellation> tessellation; // a spatial index's; its column is its one key
    // An XML index: PRIMARY, or a secondary one's FOR (PATH, VALUE, PROPERTY); empty for another index.
    std::string strXmlType{};
    std::string strUsingXmlIndex{}; // the primary XML index a secondary one is made from
    bool operator==(const TModelIndex&) const = default;
};

struct TModelCheck {
    std::string strName;
    std::string strColumn; // empty for a table-level check
    std::string strDefinition;
    bool bDisabled = false;
    bool bNotTrusted = false;
    bool bNotForReplication = false;

    bool operator==(const TModelCheck&) const = default;
};

struct TModelDefault {
    std::string strName;
    std::string strColumn;
    std::string strDefinition;

    bool operator==(const TModelDefault&) const = default;
};

// sys.foreign_keys' referential action codes.
enum class eModelReferentialAction { NoAction = 0, Cascade = 1, SetNull = 2, SetDefault = 3 };

struct TModelForeignKey {
    std::string strName;
    std::string strReferencedSchema;
    std::string strReferencedTable;
    std::string strKeyIndex; // the referenced table's key or unique index that the server checks
    std::vector<std::pair<std::string, std::string>> aColumns; // (column, referenced column) in key order
    eModelReferentialAction eOnDelete = eModelReferentialAction::NoAction;
    eModelReferentialAction eOnUpdate = eModelReferentialAction::NoAction;
    bool bDisabled = false;
    bool bNotTrusted = false;
    bool bNotForReplication = false;

    bool operator==(const TModelForeignKey&) const = default;
};

// The two columns of a system-versioned table's PERIOD FOR SYSTEM_TIME.
struct TModelPeriod {
    std::string strStart;
    std::string strEnd;

    bool operator==(const TModelPeriod&) const = default;
};

// SYSTEM_VERSIONING = ON: the history table the server keeps the old rows in, and for how long.
struct TModelVersioning {
    std::string strHistorySchema;
    std::string strHistoryTable;
    std::string strRetention; // "INFINITE", "6 MONTHS", ...; empty where the server does not say

    bool operator==(const TModelVersioning&) const = default;
};

enum class eModelGraph { None, Node, Edge };

// One clause of an edge constraint: the node tables an edge may connect, FROM and TO.
struct TModelConnection {
    std::string strFromSchema;
    std::string strFromTable;
    std::string strToSchema;
    std::string strToTable;

    bool operator==(const TModelConnection&) const = default;
};

struct TModelEdgeConstraint {
    std::string strName;
    std::vector<TModelConnection> aConnections; // in clause order
    bool bOnDeleteCascade = false;

    bool operator==(const TModelEdgeConstraint&) const = default;
};

// Statistics a user created on columns of a table; those the server makes (for an index, or by itself) are
// not written.
struct TModelStatistic {
    std::string strName;
    std::vector<std::string> aColumns; // in their order
    std::string strFilter;             // WHERE of filtered statistics, as stored; empty for none
    bool bNoRecompute = false;
    bool bIncremental = false;

    bool operator==(const TModelStatistic&) const = default;
};

// A column of a full-text index: a varbinary(max) or image one names the column that holds its documents'
// file extension.
struct TModelFullTextColumn {
    std::string strColumn;
    std::string strTypeColumn; // empty for none
    int nLanguage = 0;         // the LCID, as the server resolved the default; 0 for the neutral language
    bool bStatisticalSemantics = false;

    bool operator==(const TModelFullTextColumn&) const = default;
    // Indexed the same way, whether or not the semantics are kept: such a column changes in place.
    bool IndexedAlike(const TModelFullTextColumn& other) const {
        return strColumn == other.strColumn && strTypeColumn == other.strTypeColumn &&
               nLanguage == other.nLanguage;
    }
};

// A table's full-text index: at most one, kept by a unique single-column index of the table.
struct TModelFullTextIndex {
    std::string strKeyIndex;
    std::string strCatalog;
    std::string strChangeTracking; // MANUAL, AUTO or OFF
    std::string strStoplist;       // a stoplist of the database; empty for the server's own or none
    bool bNoStoplist = false;      // STOPLIST = OFF
    bool bDisabled = false;
    std::string strPropertyList;                // its search property list; empty for none
    std::vector<TModelFullTextColumn> aColumns; // in column order

    bool operator==(const TModelFullTextIndex&) const = default;
};

// A table, or the table a table type describes.
struct TModelTable {
    std::string strSchema;
    std::string strName;
    std::string strDataSpace;                   // where the rows live (the heap's or the clustered index's)
    std::vector<std::string> aPartitionColumns; // a partitioned heap's partition columns
    std::string strLobDataSpace; // where large values live (TEXTIMAGE_ON); empty where none or not said
    std::string strFilestreamDataSpace; // FILESTREAM_ON; empty for none
    bool bMemoryOptimized = false;
    bool bSchemaOnly = false; // a memory-optimized table whose rows do not outlive the server (DURABILITY)
    eModelGraph eGraph = eModelGraph::None;
    std::optional<TModelPeriod> period;
    std::optional<TModelVersioning> versioning;
    std::optional<TModelFullTextIndex> fullText;
    std::vector<TModelColumn> aColumns;                 // in column order
    std::vector<TModelIndex> aIndexes;                  // by index id; heaps left out
    std::vector<TModelCheck> aChecks;                   // by name
    std::vector<TModelDefault> aDefaults;               // in column order
    std::vector<TModelForeignKey> aForeignKeys;         // by name
    std::vector<TModelEdgeConstraint> aEdgeConstraints; // by name
    std::vector<TModelStatistic> aStatistics;           // by name

    const TModelColumn* FindColumn(const std::string& strColumn) const;
    const TModelIndex* FindIndex(const std::string& strIndex) const;
    bool operator==(const TModelTable&) const = default;
};

struct TModelSchema {
    std::string strName;
    std::string strOwner;
    bool bBuiltIn = false; // dbo, guest, sys, INFORMATION_SCHEMA and the fixed roles' schemas

    bool operator==(const TModelSchema&) const = default;
};

// An alias type, or a table type with its columns, keys, checks and indexes.
struct TModelType {
    std::string strSchema;
    std::string strName;
    TModelDataType base; // an alias type's base type
    bool bNullable = true;
    std::optional<TModelTable> table; // set for a table type

    eModelKind Kind() const { return table ? eModelKind::TableType : eModelKind::AliasType; }
    bool operator==(const TModelType&) const = default;
};

struct TModelSequence {
    std::string strSchema;
    std::string strName;
    TModelDataType type;
    std::string strStart;
    std::string strIncrement;
    std::string strMinimum;
    std::string strMaximum;
    bool bCycling = false;
    bool bCached = true;
    std::string strCacheSize; // empty: the server's default size, or a server that does not say

    bool operator==(const TModelSequence&) const = default;
};

struct TModelSynonym {
    std::string strSchema;
    std::string strName;
    std::string strBaseObject; // as stored: a one- to four-part name, delimited

    bool operator==(const TModelSynonym&) const = default;
};

// A file of a filegroup, or of the log. Sizes in pages of 8 KB, as the catalog gives them.
struct TModelFile {
    std::string strName; // the logical name
    int nSize = 0;
    int nMaxSize = -1; // -1: unlimited
    int nGrowth = 0;   // pages, or a percentage
    bool bPercentGrowth = false;

    bool operator==(const TModelFile&) const = default;
};

// A filegroup: FG for rows, FD for FILESTREAM data, FX for memory-optimized data.
struct TModelFilegroup {
    std::string strName;
    std::string strType;
    bool bDefault = false;
    bool bReadOnly = false;
    std::vector<TModelFile> aFiles; // by file id

    bool operator==(const TModelFilegroup&) const = default;
};

// A boundary value as the server gave it, and the system type it is stored in; no value for NULL.
struct TModelBoundary {
    std::optional<std::string> value;
    std::string strType;

    bool operator==(const TModelBoundary&) const = default;
};

// A partition function: the type it partitions by, and the boundaries between its partitions.
struct TModelPartitionFunction {
    std::string strName;
    TModelDataType type;
    bool bRangeRight = false;                // a boundary belongs to the partition on its right
    std::vector<TModelBoundary> aBoundaries; // in boundary order

    bool operator==(const TModelPartitionFunction&) const = default;
};

// A partition scheme: the filegroup of each partition of its function, in order, and the one NEXT USED
// after them where it has one.
struct TModelPartitionScheme {
    std::string strName;
    std::string strFunction;
    std::vector<std::string> aFilegroups;

    bool operator==(const TModelPartitionScheme&) const = default;
};

// A trigger that fires first or last of its table's (or the database's) triggers for a statement.
struct TModelTriggerOrder {
    std::string strStatement; // INSERT, UPDATE, DELETE, or a DDL event (CREATE_TABLE, ...)
    bool bFirst = true;       // else last

    bool operator==(const TModelTriggerOrder&) const = default;
};

// A view, procedure, function or trigger: sys.objects' type code and the definition as stored. A trigger of
// the database (fired by DDL) has neither schema nor parent.
struct TModelModule {
    std::string strSchema;
    std::string strName;
    std::string strType;   // V, P, FN, IF, TF, TR
    std::string strParent; // a trigger's table or view, of the trigger's schema
    std::string strDefinition;
    bool bAnsiNulls = true;
    bool bQuotedIdentifier = true;
    bool bSchemaBound = false;
    bool bDisabled = false; // a trigger that does not fire
    bool bNativelyCompiled = false;
    bool bOnDatabase = false;               // a trigger of the database
    std::vector<TModelTriggerOrder> aOrder; // a trigger's, by statement
    std::vector<TModelIndex> aIndexes;      // an indexed view's, by index id: the unique clustered one first
    std::optional<TModelFullTextIndex> fullText; // an indexed view's, kept by its unique clustered index

    eModelKind Kind() const;
    bool IsFunction() const { return Kind() == eModelKind::Function; }
    bool operator==(const TModelModule&) const = default;
};

// One predicate of a security policy: a function applied to the rows of a table.
struct TModelSecurityPredicate {
    bool bBlock = false;         // BLOCK, else FILTER
    std::string strDefinition;   // the function's call as stored: [rls].[fn]([TenantId])
    std::string strTargetSchema; // the table
    std::string strTargetTable;
    std::string strOperation; // a block predicate's: AFTER INSERT, AFTER UPDATE, BEFORE UPDATE, BEFORE
                              // DELETE; empty for every operation

    bool operator==(const TModelSecurityPredicate&) const = default;
};

// A row-level security policy with its predicates.
struct TModelSecurityPolicy {
    std::string strSchema;
    std::string strName;
    std::vector<TModelSecurityPredicate> aPredicates; // in the catalog's order
    bool bEnabled = true;
    bool bSchemaBound = true;
    bool bNotForReplication = false;

    bool operator==(const TModelSecurityPolicy&) const = default;
};

// An XML schema collection with its schemas as the server holds them: one text of every namespace's
// <xsd:schema>, which the server rebuilds from its own components (comments and prefixes not kept).
// A full-text catalog: where ON FILEGROUP and IN PATH once put it has had no effect for long, and is left
// out.
struct TModelFullTextCatalog {
    std::string strName;
    bool bAccentSensitive = false;
    bool bDefault = false;

    bool operator==(const TModelFullTextCatalog&) const = default;
};

// A word a full-text stoplist leaves out of the index, for one language.
struct TModelStopword {
    int nLanguage = 0; // the LCID
    std::string strWord;

    auto operator<=>(const TModelStopword&) const = default;
};

// A full-text stoplist of the database: the server's own is no row of it.
struct TModelFullTextStoplist {
    std::string strName;
    std::vector<TModelStopword> aWords; // by language, then word as its bytes

    bool operator==(const TModelFullTextStoplist&) const = default;
};

// A document property a full-text index reads, as a search property list names it.
struct TModelSearchProperty {
    std::string strName;
    std::string strSetGuid; // the property set's GUID, as the server shows it
    int nIntId = 0;         // the property's id within its set
    std::optional<std::string> description;

    auto operator<=>(const TModelSearchProperty&) const = default;
};

// A search property list of the database.
struct TModelSearchPropertyList {
    std::string strName;
    std::vector<TModelSearchProperty> aProperties; // by name as its bytes

    bool operator==(const TModelSearchPropertyList&) const = default;
};

struct TModelXmlSchemaCollection {
    std::string strSchema;
    std::string strName;
    std::string strText;

    bool operator==(const TModelXmlSchemaCollection&) const = default;
};

// A property of sys.extended_properties on the database, a schema, a type, a schema-level object, a table's
// column, key, constraint, index or trigger, a view's or function's column, or a module's parameter.
struct TModelExtendedProperty {
    std::optional<TModelKey> target; // none for the database's own
    std::string strColumn;    // a column of the target table, view or function; empty for the target itself
    std::string strParameter; // a parameter of the target procedure or function, with its @
    std::string strName;
    std::optional<std::string> value;
    std::string strBaseType; // the value's type (nvarchar, int, ...)

    bool operator==(const TModelExtendedProperty&) const = default;
};

// One reference a module, computed column, check or default makes, as the server reports it.
struct TModelReference {
    TModelKey from;        // the module, check, default, or the table of a computed column
    std::string strColumn; // the computed column; empty otherwise
    std::string strSchema; // the referenced name as the text gives it (schema empty when not given)
    std::string strName;
    std::optional<TModelKey> resolved; // the object of the catalog the server resolved it to
};

// What CREATE makes of a database principal; Unknown for forms the scripts do not write (a contained user
// with a password, a user for a certificate or key, a user whose login is gone).
enum class eModelPrincipalForm { Role, ApplicationRole, ForLogin, WithoutLogin, External, Unknown };

// A user, role or application role of sys.database_principals.
struct TModelPrincipal {
    std::string strName;
    std::string strType;          // S, U, G, E, X, C, K, R, A
    std::string strDefaultSchema; // empty for none
    std::string strOwner;         // a role's owner; empty when the server names none
    std::string strLogin;         // the login a user is for; empty for none or one the server does not know
    int nAuthentication = -1; // authentication_type: 0 none, 1 instance, 2 database, 3 Windows, 4 external
    bool bBuiltIn = false;    // dbo, guest, sys, INFORMATION_SCHEMA, public and the fixed roles

    eModelPrincipalForm Form() const;
    // User, Role or ApplicationRole; none for a form the scripts do not write.
    std::optional<eModelKind> Kind() const;
    bool operator==(const TModelPrincipal&) const = default;
};

struct TModelRoleMember {
    std::string strRole;
    std::string strMember;

    bool operator==(const TModelRoleMember&) const = default;
};

// An object owned by a principal other than its schema's owner.
struct TModelOwner {
    TModelKey object;
    std::string strOwner;

    bool operator==(const TModelOwner&) const = default;
};

// A row of sys.database_permissions with its securable named as T-SQL names it.
struct TModelPermission {
    std::string strClass;     // the catalog's class_desc: DATABASE, OBJECT_OR_COLUMN, SCHEMA, TYPE, ...
    std::string strSecurable; // what ON names before "::": OBJECT, SCHEMA, TYPE, XML SCHEMA COLLECTION, USER,
                              // ROLE, APPLICATION ROLE; empty for the database and for a class not known
    std::string strSchema;    // of an object, type or XML schema collection
    std::string strName;      // empty for the database
    std::string strColumn;    // a column-level permission's column
    std::string strPermission; // SELECT, EXECUTE, VIEW DEFINITION, CREATE TABLE, ...
    char cState = 'G';         // G grant, W grant with grant option, D deny, R revoke
    std::string strGrantee;
    std::optional<TModelKey> securable; // the model's object it is on; none for the database or one not held

    bool IsWritten() const { return strClass == "DATABASE" || !strSecurable.empty(); }
    bool operator==(const TModelPermission&) const = default;
};

// Which optional families the server has the catalog views for.
struct TModelFeatures {
    bool bSequences = false;
    bool bSynonyms = false;
    bool bTableTypes = false;
    bool bExtendedProperties = false;
    bool bExpressionDependencies = false;
    // The optional views and columns of tables and storage.
    bool bFilegroups = false;
    bool bPartitions = false;
    bool bTableStorage = false;
    bool bFilestreamColumns = false;
    bool bMemoryOptimized = false;
    bool bMemoryOptimizedTableTypes = false;
    bool bHashIndexes = false;
    bool bTemporal = false;
    bool bRetention = false;
    bool bPeriods = false;
    bool bGeneratedColumns = false;
    bool bNodesAndEdges = false;
    bool bGraphColumns = false;
    bool bEdgeConstraints = false;
    bool bNativeModules = false;
    // The census's optional columns, each probed: the flags of tables, table types and columns that only
    // some versions have.
    bool bLedgerTables = false;
    bool bMemoryOptimizedTables = false;
    bool bMemoryOptimizedTypes = false;
    bool bTemporalTables = false;
    bool bGraphTables = false;
    bool bFileTables = false;
    bool bStretchTables = false;
    bool bEncryptedColumns = false;
    // Read from the feature views' probe: views of SQL Server 2016 and later, and columns of 2014 and later.
    bool bMaskedColumns = false;
    bool bSecurityPolicies = false;
    bool bPoliciesWithSchemaBinding = false;    // sys.security_policies with is_schemabinding_enabled
    bool bPoliciesWithoutSchemaBinding = false; // sys.security_policies without it
    bool bTriggerEvents = false;
    bool bStatistics = false;                   // sys.stats_columns
    bool bIncrementalStatistics = false;        // and sys.stats with is_incremental
    bool bStatisticsWithoutIncremental = false; // and sys.stats without it
    // Read from the index features' probe: columns of columnstore indexes (2016, 2022) and the spatial views.
    bool bPartitionCompression = false; // sys.partitions' data_compression
    bool bCompressionDelay = false;
    bool bColumnstoreOrder = false;
    bool bSpatialIndexes = false;
    bool bSpatialTessellations = false;
    // From the XML probe: collections of the database's own (the server's one in schema sys aside), whose
    // texts and typed columns are read only then, as XML_SCHEMA_NAMESPACE is missing where none can be.
    bool bXmlSchemaCollections = false;
    bool bXmlIndexes = false;              // sys.xml_indexes, with xml_index_type
    bool bXmlIndexesWithoutType = false;   // without it, as before selective XML indexes
    bool bFullTextCatalogs = false;        // sys.fulltext_catalogs and sys.fulltext_stoplists
    bool bFullTextIndexes = false;         // sys.fulltext_indexes and sys.fulltext_index_columns
    bool bFullTextStopwords = false;       // sys.fulltext_stopwords: the stoplists are read with their words
    bool bSearchPropertyListNames = false; // sys.registered_search_property_lists
    bool bSearchProperties = false;        // and sys.registered_search_properties: the lists are carried
    bool bFullTextPropertyLists = false;   // sys.fulltext_indexes' property_list_id

    bool operator==(const TModelFeatures&) const = default;
};

// What the census found that the scripts do not carry: one kind, the names of its objects in name order.
struct TModelUncarried {
    int nCensusKind = -1; // the kind's place in CensusKinds(); -1 for a code the census does not know
    std::string strSource;
    std::string strCode;
    std::vector<std::string> aNames; // "dbo.Orders", "dbo.Orders.IX_Xml"
};

struct TCatalogModel {
    std::string strCollation;        // the database's default collation
    std::string strDefaultDataSpace; // the database's default filegroup
    TModelFeatures features;
    std::vector<TModelSchema> aSchemas; // by name
    std::vector<TModelType> aTypes;     // user-defined types, by schema and name
    std::vector<TModelSequence> aSequences;
    std::vector<TModelSynonym> aSynonyms;
    std::vector<TModelFilegroup> aFilegroups;                 // by data space id: PRIMARY first
    std::vector<TModelFile> aLogFiles;                        // by file id
    std::vector<TModelPartitionFunction> aPartitionFunctions; // by name
    std::vector<TModelPartitionScheme> aPartitionSchemes;     // by name
    std::vector<TModelTable> aTables;                         // by schema and name
    std::vector<TModelModule> aModules;                       // by schema and name
    std::vector<TModelExtendedProperty> aExtendedProperties;
    std::vector<TModelReference> aReferences;
    std::vector<TModelPrincipal> aPrincipals;   // by name
    std::vector<TModelRoleMember> aRoleMembers; // by role, then member
    std::vector<TModelOwner> aOwners;
    std::vector<TModelPermission> aPermissions;                   // in the catalog's order
    std::vector<TModelSecurityPolicy> aSecurityPolicies;          // by schema and name
    std::vector<TModelXmlSchemaCollection> aXmlSchemaCollections; // by schema and name
    std::vector<TModelFullTextCatalog> aFullTextCatalogs;         // by name
    std::vector<TModelFullTextStoplist> aFullTextStoplists;       // by name
    std::vector<TModelSearchPropertyList> aSearchPropertyLists;   // by name
    // The families a replayed snapshot held no statement for (it was recorded by an earlier sqlscripts),
    // read as empty; in the order of the load.
    std::vector<std::string> aUnrecordedFamilies;
    // The census's kinds with objects the scripts do not carry, in the census's order (ModelCensus.h).
    std::vector<TModelUncarried> aUncarried;

    // Null when the model has no such table or module.
    const TModelTable* FindTable(const std::string& strSchema, const std::string& strName) const;
    const TModelModule* FindModule(const std::string& strSchema, const std::string& strName) const;
    // Makes the Find functions see the lists as they are now; the loader calls it, and so does a program
    // that changes the lists.
    void BuildIndex();

private:
    std::unordered_map<std::string, size_t> m_mapTables;
    std::unordered_map<std::string, size_t> m_mapModules;
};

// Schema and name as one key, exactly as spelled: what the model's indexes look names up by.
std::string SchemaNameKey(const std::string& strSchema, const std::string& strName);
