// The catalog model: what a database holds, as plain values read by one set-based statement per family.
// Catalog keys (object_id, column_id, index_id, user_type_id) link the records; names are as the catalog
// spells them, text (definitions, expressions) whole.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A declared data type: a system type with its length, precision and scale, or a user-defined type.
struct TModelDataType {
    std::string strName;       // as declared: the system type's name, or the user type's name
    std::string strSchema;     // the user type's schema; empty for a system type
    std::string strSystemName; // the system type the values have (an alias type's base type)
    int nMaxLength = 0;        // bytes; -1 for max
    int nPrecision = 0;
    int nScale = 0;

    bool IsUserDefined() const { return !strSchema.empty(); }
};

struct TModelIdentity {
    std::string strSeed;
    std::string strIncrement;
    bool bNotForReplication = false;
};

struct TModelComputed {
    std::string strDefinition;
    bool bPersisted = false;
};

struct TModelColumn {
    int nColumnId = 0;
    std::string strName;
    TModelDataType type;
    std::string strCollation; // empty for types without one
    bool bNullable = true;
    bool bRowGuidCol = false;
    bool bSparse = false;
    bool bColumnSet = false;
    std::optional<TModelIdentity> identity;
    std::optional<TModelComputed> computed;

    // rowversion (timestamp) values are made by the server, never given.
    bool IsRowVersion() const { return type.strSystemName == "timestamp"; }
};

struct TModelIndexColumn {
    int nColumnId = 0;
    bool bDescending = false;
};

enum class EModelIndexKind { Index, PrimaryKey, UniqueConstraint };

struct TModelIndex {
    int nIndexId = 0;
    std::string strName;
    EModelIndexKind eKind = EModelIndexKind::Index;
    bool bClustered = false;
    bool bUnique = false;
    std::vector<TModelIndexColumn> aKeys; // in key order
    std::vector<int> aIncluded;           // column ids, in the catalog's order
    std::vector<int> aPartitionColumns;   // column ids of a partitioned index, in partition order
    std::string strFilter;                // WHERE of a filtered index, as stored; empty for none
    int nFillFactor = 0;
    bool bPadded = false;
    bool bIgnoreDupKey = false;
    bool bAllowRowLocks = true;
    bool bAllowPageLocks = true;
    bool bDisabled = false;
    std::string strCompression; // NONE, ROW, PAGE, ... of the first partition; empty when not reported
    std::string strDataSpace;   // filegroup or partition scheme
};

struct TModelCheck {
    int nObjectId = 0;
    std::string strName;
    int nColumnId = 0; // 0 for a table-level check
    std::string strDefinition;
    bool bDisabled = false;
    bool bNotTrusted = false;
    bool bNotForReplication = false;
};

struct TModelDefault {
    int nObjectId = 0;
    std::string strName;
    int nColumnId = 0;
    std::string strDefinition;
};

// sys.foreign_keys' referential action codes.
enum class EModelReferentialAction { NoAction = 0, Cascade = 1, SetNull = 2, SetDefault = 3 };

struct TModelForeignKey {
    int nObjectId = 0;
    std::string strName;
    int nReferencedObjectId = 0;
    int nKeyIndexId = 0;                       // the referenced table's key or unique index
    std::vector<std::pair<int, int>> aColumns; // (column id, referenced column id) in key order
    EModelReferentialAction eOnDelete = EModelReferentialAction::NoAction;
    EModelReferentialAction eOnUpdate = EModelReferentialAction::NoAction;
    bool bDisabled = false;
    bool bNotTrusted = false;
    bool bNotForReplication = false;
};

// A table, or the table a table type describes (nTableTypeId set).
struct TModelTable {
    int nObjectId = 0;
    std::string strSchema;
    std::string strName;
    int nTableTypeId = 0;     // the user_type_id of a table type; 0 for a table
    std::string strDataSpace; // where the rows live (the heap's or the clustered index's data space)
    std::vector<int> aPartitionColumns;         // a partitioned heap's partition columns
    std::vector<TModelColumn> aColumns;         // by column id
    std::vector<TModelIndex> aIndexes;          // by index id; heaps left out
    std::vector<TModelCheck> aChecks;           // by name
    std::vector<TModelDefault> aDefaults;       // by column id
    std::vector<TModelForeignKey> aForeignKeys; // by name

    const TModelColumn* FindColumn(int nColumnId) const;
    const TModelIndex* FindIndex(int nIndexId) const;
};

struct TModelSchema {
    int nSchemaId = 0;
    std::string strName;
    std::string strOwner;
    bool bBuiltIn = false; // dbo, guest, sys, INFORMATION_SCHEMA and the fixed roles' schemas
};

// An alias type, or a table type whose columns and keys are in the table nTableObjectId.
struct TModelType {
    int nUserTypeId = 0;
    std::string strSchema;
    std::string strName;
    TModelDataType base; // an alias type's base type
    bool bNullable = true;
    int nTableObjectId = 0; // set for a table type
};

struct TModelSequence {
    int nObjectId = 0;
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
};

struct TModelSynonym {
    int nObjectId = 0;
    std::string strSchema;
    std::string strName;
    std::string strBaseObject; // as stored: a one- to four-part name, delimited
};

// A view, procedure, function or trigger: sys.objects' type code and the definition as stored.
struct TModelModule {
    int nObjectId = 0;
    std::string strSchema;
    std::string strName;
    std::string strType;     // V, P, FN, IF, TF, TR
    int nParentObjectId = 0; // a trigger's table or view
    std::string strDefinition;
    bool bAnsiNulls = true;
    bool bQuotedIdentifier = true;
    bool bSchemaBound = false;
    bool bDisabled = false; // a trigger that does not fire

    bool IsFunction() const { return strType == "FN" || strType == "IF" || strType == "TF"; }
};

// sys.extended_properties: class 0 the database, 1 an object or column, 3 a schema, 6 a type, 7 an index.
struct TModelExtendedProperty {
    int nClass = 0;
    int nMajorId = 0;
    int nMinorId = 0;
    std::string strName;
    std::optional<std::string> value;
    std::string strBaseType; // the value's type (nvarchar, int, ...)
};

// One reference a module, computed column, check or default makes, as the server reports it.
struct TModelReference {
    int nReferencingId = 0;
    int nReferencingMinorId = 0; // a computed column's id; 0 otherwise
    int nReferencedId = 0;       // 0 when the server did not resolve the name
    std::string strReferencedSchema;
    std::string strReferencedName;
};

// Which optional families the server has the catalog views for.
struct TModelFeatures {
    bool bSequences = false;
    bool bSynonyms = false;
    bool bTableTypes = false;
    bool bExtendedProperties = false;
    bool bExpressionDependencies = false;
};

struct TCatalogModel {
    std::string strCollation;        // the database's default collation
    std::string strDefaultDataSpace; // the database's default filegroup
    TModelFeatures features;
    std::vector<TModelSchema> aSchemas; // by name
    std::vector<TModelType> aTypes;     // user-defined types, by schema and name
    std::vector<TModelSequence> aSequences;
    std::vector<TModelSynonym> aSynonyms;
    std::vector<TModelTable> aTables; // tables and table types' tables, by schema and name
    std::vector<TModelModule> aModules;
    std::vector<TModelExtendedProperty> aExtendedProperties;
    std::vector<TModelReference> aReferences;

    // Null when the model has no such table (table types' tables included), module or user type.
    const TModelTable* FindTable(int nObjectId) const;
    const TModelModule* FindModule(int nObjectId) const;
    const TModelType* FindType(int nUserTypeId) const;
    // Makes the Find functions see the lists as they are now; the loader calls it, and so does a program
    // that changes the lists.
    void BuildIndex();

private:
    std::unordered_map<int, size_t> m_mapTables;
    std::unordered_map<int, size_t> m_mapModules;
    std::unordered_map<int, size_t> m_mapTypes;
};
