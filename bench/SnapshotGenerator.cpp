// Writes a synthetic catalog snapshot of a given number of tables. Every statement text comes from the
// module's own recordsets, so the file holds exactly what a full export sends, with and without prefetch.
#include "backend/Snapshot.h"
#include "catalog/ConnectionContext.h"
#include "catalog/Prefetch.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"
#include "model/ModelLoader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <vector>

namespace {

// ODBC type codes of the recorded columns; whole numbers are kept as JSON integers.
constexpr SWORD kText = -9; // SQL_WVARCHAR
constexpr SWORD kInt = 4;
constexpr SWORD kSmallInt = 5;
constexpr SWORD kTinyInt = -6;
constexpr SWORD kBit = -7;
constexpr SWORD kBigInt = -5;
constexpr SWORD kVariant = -150;

struct TColumnShape {
    const char* pszName;
    SWORD nType;
};

constexpr int kModulesPerKind = 2000;
constexpr int kUserTypes = 10;
constexpr int kBoundDefaults = 10;
constexpr int kTablesPerFullTextIndex = 100;
constexpr const char* kSchemas[] = {"dbo", "sales", "stock", "audit"};
// Object ids: tables 1000000 + 10 * n, the constraints of a table just above its own.
constexpr long kPrimaryKeyOffset = 1;
constexpr long kForeignKeyOffset = 2;
constexpr long kCheckOffset = 3;
constexpr long kFirstModuleId = 3000000;
constexpr long kFirstDefaultId = 2000000;
constexpr long kFirstUserTypeId = 257;

class CSnapshotBuilder {
public:
    // Records the statement with its answer once; every call counts as one statement the export sends.
    void Add(const CString& strSql, const std::vector<TColumnShape>& aColumns,
             std::vector<TDbRowText> aRows) {
        ++m_nSent;
        ++m_nPrefetchSent;
        Record(strSql, aColumns, std::move(aRows));
    }
    // Records a per-object statement that an export without prefetch sends, and files its rows under the
    // key of the family's one statement, which a prefetch export sends instead.
    void AddDetail(EPrefetchFamily eFamily, const std::vector<std::string>& aKey, const CString& strSql,
                   const std::vector<TColumnShape>& aColumns, std::vector<TDbRowText> aRows) {
        ++m_nSent;
        if (m_seen.count(strSql.Str()))
            return;
        TPrefetchRows& family = m_aPrefetch[static_cast<size_t>(eFamily)];
        if (family.aColumns.empty())
            family.aColumns = aColumns;
        for (const TDbRowText& row : aRows) {
            TDbRowText& bulkRow = family.aRows.emplace_back(row);
            bulkRow.insert(bulkRow.end(), aKey.begin(), aKey.end());
        }
        Record(strSql, aColumns, std::move(aRows));
    }
    // Records the statement of each family with the rows of all its objects, ordered by key as the
    // statement orders them; the rows of one key stay in the order of their own statement.
    void AddPrefetchStatements() {
        for (size_t i = 0; i < m_aPrefetch.size(); ++i) {
            TPrefetchRows& family = m_aPrefetch[i];
            const auto eFamily = static_cast<EPrefetchFamily>(i);
            std::vector<TColumnShape> aColumns = family.aColumns;
            for (const TColumnShape& key : PrefetchKeyShapes(eFamily))
                aColumns.push_back(key);
            const size_t nKeyStart = family.aColumns.size();
            std::stable_sort(family.aRows.begin(), family.aRows.end(),
                             [&](const TDbRowText& a, const TDbRowText& b) {
                                 return KeyOrder(a, b, nKeyStart, aColumns);
                             });
            ++m_nPrefetchSent;
            Record(GetPrefetchSQL(eFamily), aColumns, std::move(family.aRows));
        }
    }
    // Records a statement that only other callers than the export send.
    void Record(const CString& strSql, const std::vector<TColumnShape>& aColumns,
                std::vector<TDbRowText> aRows) {
        if (!m_seen.insert(strSql.Str()).second)
            return;
        TSnapshotStatement stmt;
        stmt.strSql = strSql.Str();
        for (const TColumnShape& column : aColumns)
            stmt.aColumns.push_back({column.pszName, TypeName(column.nType), column.nType, 0, 0, 0});
        stmt.aRows = std::move(aRows);
        m_aStatements.push_back(std::move(stmt));
    }
    void AddObjects(size_t nCount) { m_nObjects += nCount; }

    const std::vector<TSnapshotStatement>& Statements() const { return m_aStatements; }
    size_t SentCount() const { return m_nSent; }
    size_t PrefetchSentCount() const { return m_nPrefetchSent; }
    size_t ObjectCount() const { return m_nObjects; }

private:
    struct TPrefetchRows {
        std::vector<TColumnShape> aColumns;
        std::vector<TDbRowText> aRows;
    };

    static std::vector<TColumnShape> PrefetchKeyShapes(EPrefetchFamily eFamily) {
        switch (eFamily) {
        case EPrefetchFamily::IndexColumns:
            return {{"PrefetchObjectId", kInt}, {"PrefetchIndexId", kInt}};
        case EPrefetchFamily::FullTextColumns:
            return {{"PrefetchObjectId", kInt}};
        case EPrefetchFamily::Modules:
            return {{"PrefetchObjectId", kInt},
                    {"PrefetchType", kText},
                    {"PrefetchSchema", kText},
                    {"PrefetchName", kText}};
        default:
            return {{"PrefetchObjectId", kInt}, {"PrefetchSchema", kText}, {"PrefetchName", kText}};
        }
    }

    // Numbers compare as numbers, names as text: any total order of the keys serves the store.
    static bool KeyOrder(const TDbRowText& a, const TDbRowText& b, size_t nKeyStart,
                         const std::vector<TColumnShape>& aColumns) {
        for (size_t i = nKeyStart; i < aColumns.size(); ++i) {
            if (*a[i] == *b[i])
                continue;
            if (aColumns[i].nType == kInt)
                return std::atol(a[i]->c_str()) < std::atol(b[i]->c_str());
            return *a[i] < *b[i];
        }
        return false;
    }

    static std::string TypeName(SWORD nType) {
        switch (nType) {
        case kInt:
            return "int";
        case kSmallInt:
            return "smallint";
        case kTinyInt:
            return "tinyint";
        case kBit:
            return "bit";
        case kBigInt:
            return "bigint";
        case kVariant:
            return "sql_variant";
        default:
            return "nvarchar";
        }
    }

    std::vector<TSnapshotStatement> m_aStatements;
    std::unordered_set<std::string> m_seen;
    std::array<TPrefetchRows, PREFETCH_FAMILY_COUNT> m_aPrefetch;
    size_t m_nSent = 0;
    size_t m_nPrefetchSent = 0;
    size_t m_nObjects = 0;
};

std::optional<std::string> Int(long nValue) {
    return std::to_string(nValue);
}
std::optional<std::string> Text(const std::string& str) {
    return str;
}

std::string Numbered(const char* pszPrefix, int nIndex) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "%s%05d", pszPrefix, nIndex);
    return sz;
}

// A deterministic spread of sizes, so that runs compare.
unsigned Mix(unsigned n) {
    n ^= n >> 16;
    n *= 0x7feb352dU;
    n ^= n >> 15;
    n *= 0x846ca68bU;
    return n ^ (n >> 16);
}

struct TTable {
    std::string strName;
    std::string strSchema;
    long nObjectId;
    long nSchemaId;
};

class CCatalogModel {
public:
    // bChanged: the rows describe the catalog after a migration's worth of changes (TableChange,
    // DefinitionChanged), for diff to compare with the unchanged one; the statements asked stay the same.
    CCatalogModel(int nTables, bool bChanged) : m_bChanged(bChanged) {
        for (int i = 0; i < nTables; ++i) {
            const long nSchemaId = i % 10 == 9 ? 5 + (i / 10) % 3 : 1;
            m_aTables.push_back({Numbered("T", i), SchemaName(nSchemaId), 1000000 + 10L * i, nSchemaId});
        }
    }

    void Build(CSnapshotBuilder& out) {
        AddProbes(out);
        AddDefaults(out);
        AddUserTypes(out);
        AddTables(out);
        AddPrimaryKeys(out);
        AddForeignKeys(out);
        AddFullText(out);
        AddSchemas(out);
        AddModules<CSQLRecViews>(out, "V", "CREATE VIEW", kFirstModuleId);
        AddModules<CSQLRecTriggers>(out, "TR", "CREATE TRIGGER", kFirstModuleId + kModulesPerKind);
        AddModules<CSQLRecProcedures>(out, "P", "CREATE PROCEDURE", kFirstModuleId + 2 * kModulesPerKind);
        AddIndexes(out);
        AddChecks(out);
        AddModules<CSQLRecFunctions>(out, "FN", "CREATE FUNCTION", kFirstModuleId + 3 * kModulesPerKind);
        out.AddPrefetchStatements();
        AddModelStatements(out);
    }

    // What export --recreate reads: one statement per family, in SQL Server's shape, the same objects as the
    // module's statements describe. Every module reports the table it reads, as SQL Server does.
    void AddModelStatements(CSnapshotBuilder& out) {
        TModelFeatures features;
        features.bSequences = features.bSynonyms = features.bTableTypes = true;
        features.bExtendedProperties = features.bExpressionDependencies = true;
        const std::vector<const TModelStatement*> aStatements = ModelStatements(features);
        std::map<std::string, std::vector<TModelRow>> mapRows;
        mapRows["database"] = {{{"collation_name", "SQL_Latin1_General_CP1_CI_AS"},
                                {"sequences_view", Int(-1)},
                                {"synonyms_view", Int(-2)},
                                {"table_types_view", Int(-3)},
                                {"extended_properties_view", Int(-4)},
                                {"expression_dependencies_view", Int(-5)}}};
        mapRows["data spaces"] = {{{"data_space_id", Int(1)}, {"name", "PRIMARY"}, {"is_default", Int(1)}}};
        for (long nSchemaId : {1L, 5L, 6L, 7L})
            mapRows["schemas"].push_back(
                {{"schema_id", Int(nSchemaId)}, {"name", SchemaName(nSchemaId)}, {"owner_name", "dbo"}});
        AddModelTypes(mapRows["types"]);
        for (const TTable& table : m_aTables)
            AddModelTable(table, mapRows);
        AddModelModules(mapRows);
        for (const TModelStatement* pStatement : aStatements) {
            std::vector<TColumnShape> aColumns;
            for (const char* pszColumn : pStatement->aColumns)
                aColumns.push_back({pszColumn, ModelColumnType(pszColumn)});
            std::vector<TDbRowText> aRows;
            for (const TModelRow& row : mapRows[pStatement->pszFamily]) {
                TDbRowText& values = aRows.emplace_back();
                for (const char* pszColumn : pStatement->aColumns) {
                    const auto it = row.find(pszColumn);
                    values.push_back(it == row.end() ? std::nullopt : it->second);
                }
            }
            out.Record(pStatement->strSql, aColumns, std::move(aRows));
        }
        m_nModelStatements = aStatements.size();
    }

    size_t ModelStatementCount() const { return m_nModelStatements; }

private:
    using TModelRow = std::map<std::string, std::optional<std::string>>;

    // One table in a hundred changed, the kinds of change taking turns (a column widened, a column added, a
    // check changed), and one module of each kind in a hundred.
    enum class ETableChange { None, Widened, Added, Check };
    ETableChange TableChange(size_t nTable) const {
        if (!m_bChanged || nTable % 100 != 0)
            return ETableChange::None;
        constexpr ETableChange aTurns[] = {ETableChange::Widened, ETableChange::Added, ETableChange::Check};
        return aTurns[nTable / 100 % std::size(aTurns)];
    }
    bool DefinitionChanged(int nModule) const { return m_bChanged && nModule % 100 == 0; }

    static std::string SchemaName(long nSchemaId) { return nSchemaId == 1 ? "dbo" : kSchemas[nSchemaId - 4]; }

    static SWORD ModelColumnType(const std::string& strColumn) {
        static const std::unordered_set<std::string> setText = {"collation_name",
                                                                "name",
                                                                "owner_name",
                                                                "type",
                                                                "collation_name",
                                                                "seed_value",
                                                                "increment_value",
                                                                "definition",
                                                                "filter_definition",
                                                                "data_compression_desc",
                                                                "base_object_name",
                                                                "value",
                                                                "base_type",
                                                                "referenced_schema_name",
                                                                "referenced_entity_name"};
        return setText.count(strColumn) ? kText : kInt;
    }

    // SQL Server's ids of the system types the tables use, and the user types of the module's statements.
    void AddModelTypes(std::vector<TModelRow>& aRows) const {
        for (const auto& [nId, pszName, nLength, nPrecision] :
             std::vector<std::tuple<long, const char*, long, long>>{{56, "int", 4, 10},
                                                                    {61, "datetime", 8, 23},
                                                                    {106, "decimal", 17, 38},
                                                                    {127, "bigint", 8, 19},
                                                                    {231, "nvarchar", 8000, 0}})
            aRows.push_back({{"user_type_id", Int(nId)},
                             {"schema_id", Int(4)},
                             {"name", pszName},
                             {"system_type_id", Int(nId)},
                             {"max_length", Int(nLength)},
                             {"precision", Int(nPrecision)},
                             {"scale", Int(0)},
                             {"is_nullable", Int(1)},
                             {"is_user_defined", Int(0)}});
        for (int i = 0; i < kUserTypes; ++i)
            aRows.push_back({{"user_type_id", Int(257 + i)},
                             {"schema_id", Int(1)},
                             {"name", Numbered("CodeType", i)},
                             {"system_type_id", Int(231)},
                             {"max_length", Int(40)},
                             {"precision", Int(0)},
                             {"scale", Int(0)},
                             {"is_nullable", Int(i % 2)},
                             {"is_user_defined", Int(1)}});
    }

    // The table's rows in each family: as the module's statements describe it (columns, keys, index, check,
    // default, the foreign key to the table before it).
    void AddModelTable(const TTable& table, std::map<std::string, std::vector<TModelRow>>& mapRows) const {
        const std::optional<std::string> id = Int(table.nObjectId);
        const size_t nTable = static_cast<size_t>((table.nObjectId - 1000000) / 10);
        const ETableChange eChange = TableChange(nTable);
        mapRows["objects"].push_back({{"object_id", id},
                                      {"schema_id", Int(table.nSchemaId)},
                                      {"name", table.strName},
                                      {"type", "U "},
                                      {"parent_object_id", Int(0)}});
        const char* pszCollation = "Cyrillic_General_CI_AS";
        struct TModelColumn {
            const char* pszName;
            long nType, nLength, nPrecision, nScale;
            bool bText, bNullable;
        };
        std::vector<TModelColumn> aColumns = {
            {"Id", 56, 4, 10, 0, false, false},        {"Name", 231, 200, 0, 0, true, false},
            {"Amount", 106, 9, 18, 2, false, true},    {"Code", 257, 40, 0, 0, true, true},
            {"Total", 106, 13, 29, 2, false, true},    {"ParentId", 56, 4, 10, 0, false, true},
            {"CreatedAt", 61, 8, 23, 3, false, false}, {"Note", 231, -1, 0, 0, true, true},
            {"Qty", 56, 4, 10, 0, false, false},       {"Label", 231, 80, 0, 0, true, true}};
        if (eChange == ETableChange::Widened)
            aColumns[2] = {"Amount", 106, 13, 28, 2, false, true};
        if (eChange == ETableChange::Added)
            aColumns.push_back({"Extra", 56, 4, 10, 0, false, true});
        for (size_t i = 0; i < aColumns.size(); ++i) {
            const TModelColumn& column = aColumns[i];
            mapRows["columns"].push_back(
                {{"object_id", id},
                 {"column_id", Int(static_cast<long>(i) + 1)},
                 {"name", column.pszName},
                 {"user_type_id", Int(column.nType)},
                 {"max_length", Int(column.nLength)},
                 {"precision", Int(column.nPrecision)},
                 {"scale", Int(column.nScale)},
                 {"collation_name", column.bText ? std::optional<std::string>(pszCollation) : std::nullopt},
                 {"is_nullable", Int(column.bNullable)},
                 {"is_rowguidcol", Int(0)},
                 {"is_sparse", Int(0)},
                 {"is_column_set", Int(0)}});
        }
        mapRows["identity columns"].push_back({{"object_id", id},
                                               {"column_id", Int(1)},
                                               {"seed_value", "1"},
                                               {"increment_value", "1"},
                                               {"is_not_for_replication", Int(0)}});
        mapRows["computed columns"].push_back({{"object_id", id},
                                               {"column_id", Int(5)},
                                               {"definition", "([Amount]*(2))"},
                                               {"is_persisted", Int(0)}});
        mapRows["computed columns"].push_back({{"object_id", id},
                                               {"column_id", Int(10)},
                                               {"definition", "(N'Итог '+CONVERT([nvarchar](20),[Qty]))"},
                                               {"is_persisted", Int(1)}});
        const auto index = [&](long nIndexId, const std::string& strName, long nType, bool bPrimaryKey,
                               long nFillFactor) {
            mapRows["indexes"].push_back({{"object_id", id},
                                          {"index_id", Int(nIndexId)},
                                          {"name", strName},
                                          {"type", Int(nType)},
                                          {"is_unique", Int(bPrimaryKey || table.nObjectId % 4 == 0)},
                                          {"is_primary_key", Int(bPrimaryKey)},
                                          {"is_unique_constraint", Int(0)},
                                          {"data_space_id", Int(1)},
                                          {"ignore_dup_key", Int(0)},
                                          {"fill_factor", Int(nFillFactor)},
                                          {"is_padded", Int(0)},
                                          {"is_disabled", Int(0)},
                                          {"is_hypothetical", Int(0)},
                                          {"allow_row_locks", Int(1)},
                                          {"allow_page_locks", Int(1)},
                                          {"has_filter", Int(0)}});
            mapRows["partitions"].push_back(
                {{"object_id", id}, {"index_id", Int(nIndexId)}, {"data_compression_desc", "NONE"}});
        };
        index(1, "PK_" + table.strName, 1, true, table.nObjectId % 7 == 0 ? 90 : 0);
        index(2, "IX_" + table.strName + "_Name", 2, false, table.nObjectId % 3 == 0 ? 80 : 0);
        for (const auto& [nIndexId, nOrdinal, nColumnId] :
             std::vector<std::tuple<long, long, long>>{{1, 1, 1}, {2, 1, 2}, {2, 2, 3}})
            mapRows["index columns"].push_back({{"object_id", id},
                                                {"index_id", Int(nIndexId)},
                                                {"index_column_id", Int(nOrdinal)},
                                                {"column_id", Int(nColumnId)},
                                                {"key_ordinal", Int(nOrdinal)},
                                                {"partition_ordinal", Int(0)},
                                                {"is_descending_key", Int(0)},
                                                {"is_included_column", Int(0)}});
        const TTable& referenced = m_aTables[(nTable + m_aTables.size() - 1) % m_aTables.size()];
        const std::optional<std::string> key = Int(table.nObjectId + 1);
        mapRows["foreign keys"].push_back({{"object_id", key},
                                           {"name", "FK_" + table.strName + "_Parent"},
                                           {"parent_object_id", id},
                                           {"referenced_object_id", Int(referenced.nObjectId)},
                                           {"key_index_id", Int(1)},
                                           {"is_disabled", Int(0)},
                                           {"is_not_trusted", Int(0)},
                                           {"is_not_for_replication", Int(0)},
                                           {"delete_referential_action", Int(nTable % 3 == 0 ? 1 : 0)},
                                           {"update_referential_action", Int(0)}});
        mapRows["foreign key columns"].push_back({{"constraint_object_id", key},
                                                  {"constraint_column_id", Int(1)},
                                                  {"parent_column_id", Int(6)},
                                                  {"referenced_column_id", Int(1)}});
        mapRows["checks"].push_back(
            {{"object_id", Int(table.nObjectId + 2)},
             {"name", "CK_" + table.strName + "_Qty"},
             {"parent_object_id", id},
             {"parent_column_id", Int(9)},
             {"definition", eChange == ETableChange::Check ? "([Qty]>=(1))" : "([Qty]>=(0))"},
             {"is_disabled", Int(0)},
             {"is_not_trusted", Int(0)},
             {"is_not_for_replication", Int(0)}});
        mapRows["defaults"].push_back({{"object_id", Int(table.nObjectId + 3)},
                                       {"name", "DF_" + table.strName + "_CreatedAt"},
                                       {"parent_object_id", id},
                                       {"parent_column_id", Int(7)},
                                       {"definition", "(getdate())"}});
    }

    void AddModelModules(std::map<std::string, std::vector<TModelRow>>& mapRows) const {
        const std::tuple<const char*, const char*, long> aKinds[] = {{"V", "CREATE VIEW", 2000000},
                                                                     {"TR", "CREATE TRIGGER", 3000000},
                                                                     {"P", "CREATE PROCEDURE", 4000000},
                                                                     {"FN", "CREATE FUNCTION", 5000000}};
        for (const auto& [pszType, pszCreate, nFirstId] : aKinds)
            for (int i = 0; i < kModulesPerKind; ++i) {
                const std::string strName = Numbered(pszType, i);
                const TTable& table = m_aTables[static_cast<size_t>(i) % m_aTables.size()];
                const std::optional<std::string> id = Int(nFirstId + i);
                const bool bTrigger = std::string_view(pszType) == "TR";
                mapRows["objects"].push_back(
                    {{"object_id", id},
                     {"schema_id", Int(1)},
                     {"name", strName},
                     {"type", std::string(pszType).append(2 - std::strlen(pszType), ' ')},
                     {"parent_object_id", Int(bTrigger ? table.nObjectId : 0)}});
                std::string strDefinition = Definition(pszCreate, strName, i);
                if (DefinitionChanged(i))
                    strDefinition += "\r\n-- changed";
                mapRows["modules"].push_back({{"object_id", id},
                                              {"definition", strDefinition},
                                              {"uses_ansi_nulls", Int(1)},
                                              {"uses_quoted_identifier", Int(i % 5 != 0)},
                                              {"is_schema_bound", Int(0)}});
                if (bTrigger)
                    mapRows["triggers"].push_back(
                        {{"object_id", id}, {"parent_id", Int(table.nObjectId)}, {"is_disabled", Int(0)}});
                mapRows["references"].push_back({{"referencing_id", id},
                                                 {"referencing_minor_id", Int(0)},
                                                 {"referenced_id", Int(table.nObjectId)},
                                                 {"referenced_class", Int(1)},
                                                 {"referenced_schema_name", table.strSchema},
                                                 {"referenced_entity_name", table.strName}});
            }
    }

    // The export probes once, through its first module recordset; single-object calls may probe any of
    // the three tables first.
    void AddProbes(CSnapshotBuilder& out) const {
        const TDbRowText row = {Int(2 * kMaxDefinition)};
        out.Add(GetDefinitionLengthSQL("sys.sql_modules"), {{"", kBigInt}}, {row});
        for (const char* pszTable : {"sys.default_constraints", "sys.computed_columns"})
            out.Record(GetDefinitionLengthSQL(pszTable), {{"", kBigInt}}, {row});
    }

    template <class Rec> static CString ListSQL() {
        Rec rs;
        return rs.GetListSQL();
    }

    template <class Rec> static CString DetailSQL(const std::string& strSchema, const std::string& strName) {
        Rec rs;
        rs.SetDetail(true);
        rs.m_strParamName = strName;
        rs.m_strParamSchema = strSchema;
        return rs.GetDetailSQL();
    }

    template <class Rec> static CString DefaultSQL() {
        Rec rs;
        return rs.GetDefaultSQL();
    }

    static void AddIndexColumns(CSnapshotBuilder& out, long nObjectId, long nIndexId,
                                std::vector<TDbRowText> aRows) {
        CSQLRecIndexColumns rs;
        rs.m_nObjectId = nObjectId;
        rs.m_nIndexId = nIndexId;
        out.AddDetail(EPrefetchFamily::IndexColumns, {std::to_string(nObjectId), std::to_string(nIndexId)},
                      rs.GetDefaultSQL(), {{"ColName", kText}}, std::move(aRows));
    }

    void AddDefaults(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (int i = 0; i < kBoundDefaults; ++i)
            aList.push_back({Numbered("D_Zero", i), "dbo"});
        out.Add(ListSQL<CSQLRecDefaults>(), {{"name", kText}, {"SchemaName", kText}}, aList);
        for (size_t i = 0; i < aList.size(); ++i) {
            const TDbRowText& row = aList[i];
            out.AddDetail(
                EPrefetchFamily::Modules, {std::to_string(kFirstDefaultId + i), "D", "dbo", *row[0]},
                DetailSQL<CSQLRecDefaults>("dbo", *row[0]), ModuleColumns(),
                {{row[0], "dbo", "CREATE DEFAULT " + *row[0] + " AS 0 -- zero\r\n", Int(1), Int(1)}});
        }
        out.AddObjects(aList.size());
    }

    void AddUserTypes(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (int i = 0; i < kUserTypes; ++i)
            aList.push_back({Numbered("CodeType", i), "dbo"});
        out.Add(ListSQL<CSQLRecUserTypes>(), {{"UserName", kText}, {"SchemaName", kText}}, aList);
        for (size_t i = 0; i < aList.size(); ++i)
            out.AddDetail(EPrefetchFamily::UserTypes,
                          {std::to_string(kFirstUserTypeId + i), "dbo", *aList[i][0]},
                          DetailSQL<CSQLRecUserTypes>("dbo", *aList[i][0]),
                          {{"UserName", kText},
                           {"SchemaName", kText},
                           {"SystemName", kText},
                           {"MaxLen", kSmallInt},
                           {"Precision", kTinyInt},
                           {"Scale", kTinyInt},
                           {"IsNull", kBit},
                           {"Default", kText},
                           {"Rule", kText}},
                          {{aList[i][0], "dbo", "nvarchar", Int(40), Int(0), Int(0), Int(i % 2),
                            i == 0 ? Text(Numbered("D_Zero", 0)) : Text(""), ""}});
        out.AddObjects(aList.size());
    }

    void AddTables(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (const TTable& table : m_aTables)
            aList.push_back({table.strName, Int(table.nObjectId), table.strSchema, Int(table.nSchemaId)});
        out.Add(DefaultSQL<CSQLRecTables>(),
                {{"name", kText}, {"object_id", kInt}, {"SchemaName", kText}, {"schema_id", kInt}}, aList);
        const std::vector<TColumnShape> aColumns = {{"NameCol", kText},
                                                    {"NameType", kText},
                                                    {"IsUser", kBit},
                                                    {"MaxLen", kSmallInt},
                                                    {"Prec", kTinyInt},
                                                    {"Scale", kTinyInt},
                                                    {"IsIdent", kBit},
                                                    {"Seed", kVariant},
                                                    {"Increment", kVariant},
                                                    {"IsNull", kBit},
                                                    {"IsComputed", kBit},
                                                    {"IsComputedPersisted", kInt},
                                                    {"ComputeDefinition", kText},
                                                    {"Collation", kText},
                                                    {"Default", kText},
                                                    {"Rule", kText}};
        for (const TTable& table : m_aTables) {
            CSQLRecColumns rs;
            rs.m_strTableName = table.strName;
            rs.m_strTableSchema = table.strSchema;
            const std::string strDefault = "DF_" + table.strName + "_CreatedAt";
            const char* pszCollation = "Cyrillic_General_CI_AS";
            out.AddDetail(
                EPrefetchFamily::Columns, {std::to_string(table.nObjectId), table.strSchema, table.strName},
                rs.GetDefaultSQL(), aColumns,
                {{"Id", "int", Int(0), Int(4), Int(10), Int(0), Int(1), Int(1), Int(1), Int(0), Int(0),
                  Int(0), "", std::nullopt, "", ""},
                 {"Name", "nvarchar", Int(0), Int(200), Int(0), Int(0), Int(0), Int(0), Int(0), Int(0),
                  Int(0), Int(0), "", pszCollation, "", ""},
                 {"Amount", "decimal", Int(0), Int(9), Int(18), Int(2), Int(0), Int(0), Int(0), Int(1),
                  Int(0), Int(0), "", std::nullopt, "", ""},
                 {"Code", "CodeType00000", Int(1), Int(40), Int(0), Int(0), Int(0), Int(0), Int(0), Int(1),
                  Int(0), Int(0), "", pszCollation, "", ""},
                 {"Total", "decimal", Int(0), Int(13), Int(29), Int(2), Int(0), Int(0), Int(0), Int(1),
                  Int(1), Int(0), "([Amount]*(2))", std::nullopt, "", ""},
                 {"ParentId", "int", Int(0), Int(4), Int(10), Int(0), Int(0), Int(0), Int(0), Int(1), Int(0),
                  Int(0), "", std::nullopt, "", ""},
                 {"CreatedAt", "datetime", Int(0), Int(8), Int(23), Int(3), Int(0), Int(0), Int(0), Int(0),
                  Int(0), Int(0), "", std::nullopt, strDefault, ""},
                 {"Note", "nvarchar", Int(0), Int(-1), Int(0), Int(0), Int(0), Int(0), Int(0), Int(1), Int(0),
                  Int(0), "", pszCollation, "", ""},
                 {"Qty", "int", Int(0), Int(4), Int(10), Int(0), Int(0), Int(0), Int(0), Int(0), Int(0),
                  Int(0), "", std::nullopt, "", ""},
                 {"Label", "nvarchar", Int(0), Int(80), Int(0), Int(0), Int(0), Int(0), Int(0), Int(1),
                  Int(1), Int(1), "(N'Итог '+CONVERT([nvarchar](20),[Qty]))", pszCollation, "", ""}});
        }
        out.AddObjects(m_aTables.size());
    }

    void AddPrimaryKeys(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (const TTable& table : m_aTables)
            aList.push_back({"PK_" + table.strName, table.strSchema});
        std::sort(aList.begin(), aList.end());
        out.Add(ListSQL<CSQLRecPKeys>(), {{"Name", kText}, {"NameSchema", kText}}, aList);
        for (const TTable& table : m_aTables) {
            out.AddDetail(
                EPrefetchFamily::PrimaryKeys,
                {std::to_string(table.nObjectId + kPrimaryKeyOffset), table.strSchema, "PK_" + table.strName},
                DetailSQL<CSQLRecPKeys>(table.strSchema, "PK_" + table.strName),
                {{"Name", kText},
                 {"NameSchema", kText},
                 {"IdTable", kInt},
                 {"TableName", kText},
                 {"IdInd", kInt},
                 {"FillFactor", kInt},
                 {"Clastered", kInt}},
                {{"PK_" + table.strName, table.strSchema, Int(table.nObjectId), table.strName, Int(1),
                  Int(table.nObjectId % 7 == 0 ? 90 : 0), Int(1)}});
            AddIndexColumns(out, table.nObjectId, 1, {{"Id"}});
        }
        out.AddObjects(m_aTables.size());
    }

    // Each table refers to the one before it, through its primary key.
    void AddForeignKeys(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (const TTable& table : m_aTables)
            aList.push_back({table.strName, table.strSchema});
        out.Add(DefaultSQL<CSQLRecForeignKeysTables>(), {{"Name", kText}, {"NameSchema", kText}}, aList);
        for (size_t i = 0; i < m_aTables.size(); ++i) {
            const TTable& table = m_aTables[i];
            const TTable& referenced = m_aTables[(i + m_aTables.size() - 1) % m_aTables.size()];
            const std::string strFK = "FK_" + table.strName + "_Parent";
            out.AddDetail(
                EPrefetchFamily::ForeignKeys,
                {std::to_string(table.nObjectId), table.strSchema, table.strName},
                DetailSQL<CSQLRecForeignKeys>(table.strSchema, table.strName),
                {{"FKName", kText},
                 {"FKNameSchema", kText},
                 {"ParentTableId", kInt},
                 {"ParentTableName", kText},
                 {"ReferencedTableId", kInt},
                 {"ReferencedTableName", kText},
                 {"ReferencedIndexId", kInt},
                 {"UpdateAction", kTinyInt},
                 {"DeleteAction", kTinyInt}},
                {{strFK, table.strSchema, Int(table.nObjectId), table.strName, Int(referenced.nObjectId),
                  referenced.strName, Int(1), Int(0), Int(i % 3 == 0 ? 1 : 0)}});
            CSQLRecForeignKeyColumnsParent rs;
            rs.m_strFKName = strFK;
            rs.m_strFKSchema = table.strSchema;
            out.AddDetail(EPrefetchFamily::ForeignKeyColumns,
                          {std::to_string(table.nObjectId + kForeignKeyOffset), table.strSchema, strFK},
                          rs.GetDefaultSQL(), {{"ColName", kText}}, {{"ParentId"}});
            AddIndexColumns(out, referenced.nObjectId, 1, {{"Id"}});
        }
        out.AddObjects(m_aTables.size());
    }

    void AddFullText(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aIndexes;
        for (size_t i = 0; i < m_aTables.size(); i += kTablesPerFullTextIndex) {
            const TTable& table = m_aTables[i];
            aIndexes.push_back({Int(table.nObjectId), table.strName, table.strSchema, "PK_" + table.strName,
                                "FTC_Main", "AUTO", Int(i % 2 == 0)});
        }
        const std::vector<TColumnShape> aIndexColumns = {
            {"ObjectId", kInt},   {"NameTable", kText},           {"NameTableSchema", kText},
            {"NameIndex", kText}, {"NameFullTextCatalog", kText}, {"change_tracking_state_desc", kText},
            {"is_enabled", kBit}};
        // Once for the drops, once for the creates.
        out.Add(DefaultSQL<CSQLRecFullTextCatalogIndexes>(), aIndexColumns, aIndexes);
        out.Add(DefaultSQL<CSQLRecFullTextCatalogs>(),
                {{"Name", kText},
                 {"is_default", kBit},
                 {"is_accent_sensitivity_on", kBit},
                 {"FileGroupName", kText}},
                {{"FTC_Main", Int(1), Int(0), "PRIMARY"}});
        out.Add(DefaultSQL<CSQLRecFullTextCatalogIndexes>(), aIndexColumns, aIndexes);
        for (const TDbRowText& index : aIndexes) {
            CSQLRecFullTextCatalogIndexColumns rs;
            rs.m_nObjectId = std::atol(index[0]->c_str());
            out.AddDetail(EPrefetchFamily::FullTextColumns, {*index[0]}, rs.GetDefaultSQL(),
                          {{"Name", kText}, {"type_column_id", kInt}, {"language_id", kInt}},
                          {{"Name", std::nullopt, Int(1049)}, {"Note", std::nullopt, Int(1033)}});
        }
        out.AddObjects(aIndexes.size() + 1);
    }

    void AddSchemas(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (size_t i = 1; i < std::size(kSchemas); ++i)
            aList.push_back({kSchemas[i]});
        out.Add(DefaultSQL<CSQLRecSchemas>(), {{"name", kText}}, aList);
        out.AddObjects(aList.size());
    }

    static std::vector<TColumnShape> ModuleColumns() {
        return {{"name", kText},
                {"SchemaName", kText},
                {"definition", kText},
                {"uses_ansi_nulls", kBit},
                {"uses_quoted_identifier", kBit}};
    }

    // A definition of 1 to 20 KB: the header, then lines of a query on one of the tables.
    std::string Definition(const char* pszCreate, const std::string& strName, int nIndex) const {
        const TTable& table = m_aTables[static_cast<size_t>(nIndex) % m_aTables.size()];
        const size_t nSize =
            1024 + Mix(static_cast<unsigned>(nIndex) * 31 + strName.size()) % (19 * 1024 + 1);
        std::string strText = std::string(pszCreate) + " [dbo].[" + strName + "]";
        if (std::string_view(pszCreate) == "CREATE TRIGGER")
            strText += " ON [" + table.strSchema + "].[" + table.strName + "] AFTER INSERT";
        strText += "\r\nAS\r\n-- Итоги по таблице '" + table.strName + "'\r\n";
        for (int nLine = 1; strText.size() < nSize; ++nLine)
            strText += "SELECT T.[Id], T.[Name], T.[Amount] FROM [" + table.strSchema + "].[" +
                       table.strName + "] AS T WHERE T.[Qty] > " + std::to_string(nLine) +
                       " AND T.[Name] <> N'x'\r\n";
        strText.resize(nSize);
        return strText;
    }

    template <class Rec>
    void AddModules(CSnapshotBuilder& out, const char* pszPrefix, const char* pszCreate,
                    long nFirstId) const {
        std::vector<TDbRowText> aList;
        for (int i = 0; i < kModulesPerKind; ++i)
            aList.push_back({Numbered(pszPrefix, i), "dbo"});
        out.Add(ListSQL<Rec>(), {{"name", kText}, {"SchemaName", kText}}, aList);
        for (int i = 0; i < kModulesPerKind; ++i) {
            const std::string& strName = *aList[static_cast<size_t>(i)][0];
            out.AddDetail(EPrefetchFamily::Modules, {std::to_string(nFirstId + i), pszPrefix, "dbo", strName},
                          DetailSQL<Rec>("dbo", strName), ModuleColumns(),
                          {{strName, "dbo", Definition(pszCreate, strName, i), Int(1), Int(i % 5 != 0)}});
        }
        out.AddObjects(aList.size());
    }

    void AddIndexes(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (const TTable& table : m_aTables)
            aList.push_back({"IX_" + table.strName + "_Name", Int(2), Int(table.nObjectId), table.strName,
                             table.strSchema, Int(2), "NONCLUSTERED", Int(table.nObjectId % 4 == 0),
                             "PRIMARY", Int(table.nObjectId % 3 == 0 ? 80 : 0)});
        out.Add(DefaultSQL<CSQLRecIndexes>(),
                {{"Name", kText},
                 {"IndexId", kInt},
                 {"TableId", kInt},
                 {"TableName", kText},
                 {"TableNameSchema", kText},
                 {"Type", kTinyInt},
                 {"TypeDesc", kText},
                 {"IsUnique", kBit},
                 {"DataSpaceName", kText},
                 {"Fillfactor", kTinyInt}},
                aList);
        for (const TTable& table : m_aTables)
            AddIndexColumns(out, table.nObjectId, 2, {{"Name"}, {"Amount"}});
        out.AddObjects(m_aTables.size());
    }

    void AddChecks(CSnapshotBuilder& out) const {
        std::vector<TDbRowText> aList;
        for (const TTable& table : m_aTables)
            aList.push_back({"CK_" + table.strName + "_Qty", table.strSchema});
        out.Add(ListSQL<CSQLRecChecks>(), {{"Name", kText}, {"NameSchema", kText}}, aList);
        for (const TTable& table : m_aTables)
            out.AddDetail(EPrefetchFamily::Checks,
                          {std::to_string(table.nObjectId + kCheckOffset), table.strSchema,
                           "CK_" + table.strName + "_Qty"},
                          DetailSQL<CSQLRecChecks>(table.strSchema, "CK_" + table.strName + "_Qty"),
                          {{"Name", kText},
                           {"NameSchema", kText},
                           {"NameTable", kText},
                           {"NameTableSchema", kText},
                           {"Definition", kText}},
                          {{"CK_" + table.strName + "_Qty", table.strSchema, table.strName, table.strSchema,
                            "([Qty]>=(0))"}});
        out.AddObjects(m_aTables.size());
    }

    static constexpr long kMaxDefinition = 20 * 1024;
    std::vector<TTable> m_aTables;
    bool m_bChanged;
    size_t m_nModelStatements = 0;
};

} // namespace

int main(int argc, char** argv) {
    const bool bChanged = argc == 4 && std::string_view(argv[3]) == "--changed";
    if ((argc != 3 && !bChanged) || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: %s TABLES OUTPUT.json [--changed]\n", argv[0]);
        return 2;
    }
    const int nTables = std::atoi(argv[1]);
    const std::string strPath = argv[2];
    CSnapshotBuilder builder;
    CCatalogModel catalog(nTables, bChanged);
    try {
        catalog.Build(builder);
        CCatalogSnapshot::Save(strPath, builder.Statements(),
                               "synthetic catalog of " + std::to_string(nTables) + " tables" +
                                   (bChanged ? ", changed" : ""));
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        std::fprintf(stderr, "%s\n", e->GetErrorText().GetString());
        return 1;
    }
    // What the benchmark divides by: objects scripted and statements sent by one full export.
    std::ofstream(strPath + ".counts")
        << "objects " << builder.ObjectCount() << "\nstatements " << builder.SentCount()
        << "\nprefetch_statements " << builder.PrefetchSentCount() << "\nrecreate_statements "
        << catalog.ModelStatementCount() << "\n";
    std::printf("%s: %zu statements (%zu sent by an export, %zu with prefetch), %zu objects\n",
                strPath.c_str(), builder.Statements().size(), builder.SentCount(),
                builder.PrefetchSentCount(), builder.ObjectCount());
    return 0;
}
