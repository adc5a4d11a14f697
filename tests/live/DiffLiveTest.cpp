// sqlscripts diff against a live server: a database changed by SQL of the tests' own (diff/<database>.sql),
// compared with its original, migrated by the script diff writes, describes as the original afterwards; a
// second diff finds nothing, and every table both keep has every row it had.
#include "RecreateSupport.h"

#include "platform/Text.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDiffDir = kLiveDir / "diff";

// A table's rows, each as its columns' values by name, and what each column is: its type, or empty for a
// computed one.
using TRow = std::map<std::string, std::string>;
struct TTable {
    std::map<std::string, std::string> columns;
    std::multiset<TRow> rows;
};
using TTableRows = std::map<std::string, TTable>;

// Every row of every table of the database, read by an independent query of the test's own.
TTableRows ReadRows(CDatabase& db) {
    const auto bracketed = [](const CString& str) {
        std::string strQuoted = "[";
        for (const char ch : str.Str())
            strQuoted += ch == ']' ? "]]" : std::string(1, ch);
        return strQuoted + "]";
    };
    std::vector<std::string> aTables;
    CRecordset tables(&db);
    tables.Open(CRecordset::snapshot, "SELECT SCHEMA_NAME(schema_id), name FROM sys.tables");
    for (; !tables.IsEOF(); tables.MoveNext()) {
        CString strSchema, strName;
        tables.GetFieldValue(static_cast<short>(0), strSchema);
        tables.GetFieldValue(static_cast<short>(1), strName);
        aTables.push_back(bracketed(strSchema) + "." + bracketed(strName));
    }
    TTableRows rows;
    for (const std::string& strTable : aTables) {
        CRecordset columns(&db);
        columns.Open(
            CRecordset::snapshot,
            ("SELECT name, CASE WHEN is_computed = 1 THEN '' ELSE CONCAT(TYPE_NAME(user_type_id), ' ', "
             "max_length, ' ', precision, ' ', scale) END FROM sys.columns WHERE object_id = OBJECT_ID(N'" +
             Doubled(strTable, '\'') + "')")
                .c_str());
        for (; !columns.IsEOF(); columns.MoveNext()) {
            CString strColumn, strType;
            columns.GetFieldValue(static_cast<short>(0), strColumn);
            columns.GetFieldValue(static_cast<short>(1), strType);
            rows[strTable].columns[strColumn.Str()] = strType.Str();
        }
        CRecordset rs(&db);
        rs.Open(CRecordset::snapshot, ("SELECT * FROM " + strTable).c_str());
        std::vector<std::string> aColumns;
        for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
            CODBCFieldInfo info;
            rs.GetODBCFieldInfo(i, info);
            aColumns.push_back(info.m_strName.Str());
        }
        std::multiset<TRow>& tableRows = rows[strTable].rows;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            TRow row;
            for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
                CString strValue;
                rs.GetFieldValue(i, strValue);
                row[aColumns[static_cast<size_t>(i)]] = strValue.Str();
            }
            tableRows.insert(std::move(row));
        }
    }
    return rows;
}

// The values of the columns that both readings have, of the same type and not computed: what a migration
// must keep of a table it keeps.
std::multiset<TRow> Kept(const TTable& table, const TTable& other) {
    std::multiset<TRow> kept;
    for (const TRow& row : table.rows) {
        TRow projected;
        for (const auto& [strColumn, strValue] : row) {
            const auto it = other.columns.find(strColumn);
            if (it != other.columns.end() && !it->second.empty() && it->second == table.columns.at(strColumn))
                projected[strColumn] = strValue;
        }
        kept.insert(std::move(projected));
    }
    return kept;
}

void ExpectRowsKept(const TTableRows& before, const TTableRows& after) {
    for (const auto& [strTable, table] : after) {
        const auto it = before.find(strTable);
        if (it != before.end()) {
            EXPECT_EQ(Kept(it->second, table), Kept(table, it->second)) << strTable << ": rows differ";
        }
    }
}

THostRun Diff(const std::string& strFrom, const std::string& strTo, std::vector<std::string> aOptions) {
    aOptions.insert(aOptions.begin(), {"diff", ConnectTo(strFrom), ConnectTo(strTo)});
    return RunHost(aOptions, fs::temp_directory_path().string(), {}, std::nullopt);
}

// diff FROM TO's migration applied to FROM: no statement refused, FROM then described as TO, nothing more to
// do, and every row of the tables FROM keeps kept.
void ExpectMigrated(TScratchDatabase& from, const std::string& strTo) {
    const CTempDir dir;
    const std::string strScript = dir.File("migration.sql");
    const THostRun run =
        Diff(from.strName, strTo, {"--script", strScript, "--drop", "--allow-data-loss", "--allow-rebuild"});
    ASSERT_EQ(run.nStatus, 1) << run.strErr;
    const TTableRows before = ReadRows(from.db);
    for (const auto& [strStatement, strAnswer] : RunBatches(from.db, Batches(ReadWholeFile(strScript))))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(strTo, from.strName, {"column.position"});
    const THostRun again = Diff(from.strName, strTo, {});
    EXPECT_EQ(again.nStatus, 0) << "a second diff still finds:\n" << again.strOut << again.strErr;
    ExpectRowsKept(before, ReadRows(from.db));
}

// The feature database and a copy changed in every kind of object: each migrated to the other's state.
TEST(LiveDiff, MigratesTheFeatureDatabaseBothWays) {
    TScratchDatabase original("diff_original"), changed("diff_changed"), changedAgain("diff_changed_again");
    for (TScratchDatabase* pDb : {&original, &changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kRecreateDir, {"features.sql"}), 0);
    for (TScratchDatabase* pDb : {&changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"features.sql"}), 0);
    ExpectMigrated(changed, original.strName);
    ExpectMigrated(original, changedAgain.strName);
}

} // namespace
