// The loader's state while the families' rows are put together into a model: catalog keys of the families
// read so far, by id, before the model's own lists are ordered.
#pragma once

#include "model/CatalogModel.h"
#include "model/FamilyRows.h"

#include <cstdint>
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

struct TDraftForeignKeyColumn {
    int nOrdinal = 0;
    int nColumnId = 0;
    int nReferencedColumnId = 0;
};

// An index's key in the maps below: its table's object id and its index id.
inline std::int64_t IndexKey(int nObjectId, int nIndexId) {
    return (static_cast<std::int64_t>(nObjectId) << 32) | static_cast<std::uint32_t>(nIndexId);
}

struct TModelDraft {
    TCatalogModel model;
    std::unordered_map<int, std::string> mapSchemas;
    std::unordered_map<int, TDraftType> mapTypes;
    std::unordered_map<int, int> mapTableTypes; // user_type_id to the table type's table object id
    std::unordered_map<int, TDraftObject> mapObjects;
    std::unordered_map<int, std::string> mapDataSpaces;
    std::unordered_map<int, TModelTable> mapTables;
    std::unordered_map<int, TModelModule> mapModules;
    std::unordered_map<int, TModelSequence> mapSequences;
    std::unordered_map<int, TModelSynonym> mapSynonyms;
    std::unordered_map<std::int64_t, std::vector<TDraftIndexColumn>> mapIndexColumns;
    std::unordered_map<std::int64_t, std::string> mapCompression;
    std::unordered_map<int, int> mapForeignKeyTables; // foreign key to its table
    std::unordered_map<int, std::vector<TDraftForeignKeyColumn>> mapForeignKeyColumns;

    const std::string& SchemaName(int nSchemaId) const;
    // The table or table type's table of that object id; null for any other object.
    TModelTable* Table(int nObjectId);
    // A column's or sequence's declared type from its user_type_id and its own length, precision and scale.
    TModelDataType DataType(int nUserTypeId, int nMaxLength, int nPrecision, int nScale) const;
    // The system type of that name, with the precision and scale given.
    TModelDataType SystemDataType(const std::string& strName, int nPrecision, int nScale) const;
};

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
void AddReferences(CFamilyRows& rows, TModelDraft& draft);

void AddDataSpaces(CFamilyRows& rows, TModelDraft& draft);
void AddColumns(CFamilyRows& rows, TModelDraft& draft);
void AddIdentityColumns(CFamilyRows& rows, TModelDraft& draft);
void AddComputedColumns(CFamilyRows& rows, TModelDraft& draft);
void AddIndexes(CFamilyRows& rows, TModelDraft& draft);
void AddIndexColumns(CFamilyRows& rows, TModelDraft& draft);
void AddPartitions(CFamilyRows& rows, TModelDraft& draft);

void AddForeignKeys(CFamilyRows& rows, TModelDraft& draft);
void AddForeignKeyColumns(CFamilyRows& rows, TModelDraft& draft);
void AddChecks(CFamilyRows& rows, TModelDraft& draft);
void AddDefaults(CFamilyRows& rows, TModelDraft& draft);

// What the draft holds of each table (index and key columns, compression) into its table records.
void FinishTables(TModelDraft& draft);
