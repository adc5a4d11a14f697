// Writes a synthetic catalog snapshot of a given number of tables. Every statement text comes from the
// module's own recordsets, so the file holds exactly what a full export sends, with and without prefetch.
#include "backend/Snapshot.h"
#include "catalog/ConnectionContext.h"
#include "catalog/Prefetch.h"
#include "catalog/SQLRecObjects.h"
#include "catalog/SQLRecTableDetails.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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
    void Add(const CString& strSql, const std::vector<TColumnShape>& aColumns, std::vector<TDbRow> aRows) {
        ++m_nSent;
        ++m_nPrefetchSent;
        Record(strSql, aColumns, std::move(aRows));
    }
    // Records a per-object statement that an export without prefetch sends, and files its rows under the
    // key of the family's one statement, which a prefetch export sends instead.
    void AddDetail(EPrefetchFamily eFamily, const std::vector<std::string>& aKey, const CString& strSql,
                   const std::vector<TColumnShape>& aColumns, std::vector<TDbRow> aRows) {
        ++m_nSent;
        if (m_seen.count(strSql.Str()))
            return;
        TPrefetchRows& family = m_aPrefetch[static_cast<size_t>(eFamily)];
        if (family.aColumns.empty())
            family.aColumns = aColumns;
        for (const TDbRow& row : aRows) {
            TDbRow& bulkRow = family.aRows.emplace_back(row);
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
            std::stable_sort(family.aRows.begin(), family.aRows.end(), [&](const TDbRow& a, const TDbRow& b) {
                return KeyOrder(a, b, nKeyStart, aColumns);
            });
            ++m_nPrefetchSent;
            Record(GetPrefetchSQL(eFamily), aColumns, std::move(family.aRows));
        }
    }
    // Records a statement that only other callers than the export send.
    void Record(const CString& strSql, const std::vector<TColumnShape>& aColumns, std::vector<TDbRow> aRows) {
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
        std::vector<TDbRow> aRows;
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
    static bool KeyOrder(const TDbRow& a, const TDbRow& b, size_t nKeyStart,
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

TDbValue Int(long nValue) {
    return std::to_string(nValue);
}
TDbValue Text(const std::string& str) {
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
    explicit CCatalogModel(int nTables) {
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
    }

private:
    static std::string SchemaName(long nSchemaId) { return nSchemaId == 1 ? "dbo" : kSchemas[nSchemaId - 4]; }

    // The export probes once, through its first module recordset; single-object calls may probe any of
    // the three tables first.
    void AddProbes(CSnapshotBuilder& out) const {
        const TDbRow row = {Int(2 * kMaxDefinition)};
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
                                std::vector<TDbRow> aRows) {
        CSQLRecIndexColumns rs;
        rs.m_nObjectId = nObjectId;
        rs.m_nIndexId = nIndexId;
        out.AddDetail(EPrefetchFamily::IndexColumns, {std::to_string(nObjectId), std::to_string(nIndexId)},
                      rs.GetDefaultSQL(), {{"ColName", kText}}, std::move(aRows));
    }

    void AddDefaults(CSnapshotBuilder& out) const {
        std::vector<TDbRow> aList;
        for (int i = 0; i < kBoundDefaults; ++i)
            aList.push_back({Numbered("D_Zero", i), "dbo"});
        out.Add(ListSQL<CSQLRecDefaults>(), {{"name", kText}, {"SchemaName", kText}}, aList);
        for (size_t i = 0; i < aList.size(); ++i) {
            const TDbRow& row = aList[i];
            out.AddDetail(
                EPrefetchFamily::Modules, {std::to_string(kFirstDefaultId + i), "D", "dbo", *row[0]},
                DetailSQL<CSQLRecDefaults>("dbo", *row[0]), ModuleColumns(),
                {{row[0], "dbo", "CREATE DEFAULT " + *row[0] + " AS 0 -- zero\r\n", Int(1), Int(1)}});
        }
        out.AddObjects(aList.size());
    }

    void AddUserTypes(CSnapshotBuilder& out) const {
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aIndexes;
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
        for (const TDbRow& index : aIndexes) {
            CSQLRecFullTextCatalogIndexColumns rs;
            rs.m_nObjectId = std::atol(index[0]->c_str());
            out.AddDetail(EPrefetchFamily::FullTextColumns, {*index[0]}, rs.GetDefaultSQL(),
                          {{"Name", kText}, {"type_column_id", kInt}, {"language_id", kInt}},
                          {{"Name", std::nullopt, Int(1049)}, {"Note", std::nullopt, Int(1033)}});
        }
        out.AddObjects(aIndexes.size() + 1);
    }

    void AddSchemas(CSnapshotBuilder& out) const {
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
        std::vector<TDbRow> aList;
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
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: %s TABLES OUTPUT.json\n", argv[0]);
        return 2;
    }
    const int nTables = std::atoi(argv[1]);
    const std::string strPath = argv[2];
    CSnapshotBuilder builder;
    try {
        CCatalogModel(nTables).Build(builder);
        CCatalogSnapshot::Save(strPath, builder.Statements(),
                               "synthetic catalog of " + std::to_string(nTables) + " tables");
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        std::fprintf(stderr, "%s\n", e->GetErrorText().GetString());
        return 1;
    }
    // What the benchmark divides by: objects scripted and statements sent by one full export.
    std::ofstream(strPath + ".counts")
        << "objects " << builder.ObjectCount() << "\nstatements " << builder.SentCount()
        << "\nprefetch_statements " << builder.PrefetchSentCount() << "\n";
    std::printf("%s: %zu statements (%zu sent by an export, %zu with prefetch), %zu objects\n",
                strPath.c_str(), builder.Statements().size(), builder.SentCount(),
                builder.PrefetchSentCount(), builder.ObjectCount());
    return 0;
}
