// The run of a plan over connections that log what they are sent: the order of the files, the rows spread
// over several connections with each session's settings around its share, a file of rows waiting for the
// tables its table references, refusals, one transaction, and a stop asked for; and the objects the scripts
// create that the database has already.
#include "apply/ScriptApply.h"
#include "apply/TargetCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

namespace {

// What every connection was sent, in order: the connection's number and the batch's first line.
struct TServerLog {
    std::mutex mutex;
    std::vector<std::pair<int, std::string>> aSent;
    std::string strRefused; // a batch whose first line this is, is refused
    std::string strRefusedState = "42S22";
    std::string strUse = "USE [copy];"; // the switch to where the first connection is when the rows begin
    // The target's catalog.
    std::vector<TDbRowText> aForeignKeys, aIdentityTables, aSchemas, aTypes, aObjects, aPrincipals;

    void Add(int nConnection, const std::string& strText) {
        std::lock_guard lock(mutex);
        const size_t nStart = strText.find_first_not_of('\n');
        aSent.emplace_back(nConnection, strText.substr(nStart, strText.find('\n', nStart) - nStart));
    }
    std::vector<std::string> SentTo(int nConnection) {
        std::vector<std::string> aLines;
        for (const auto& [nTo, strLine] : aSent)
            if (nTo == nConnection)
                aLines.push_back(strLine);
        return aLines;
    }
    // Where the first and the last batch that begins with strStart were sent.
    std::pair<size_t, size_t> Span(const std::string& strStart) const {
        std::pair<size_t, size_t> span{aSent.size(), 0};
        for (size_t i = 0; i < aSent.size(); ++i)
            if (aSent[i].second.starts_with(strStart))
                span = {std::min(span.first, i), i};
        return span;
    }
};

class CLoggingConnection : public CDbConnection {
public:
    CLoggingConnection(TServerLog& log, int nNumber) : m_log(log), m_nNumber(nNumber) {}

    std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool) override {
        std::vector<TDbRowText> aRows;
        if (strSql.find("SCHEMA_NAME()") != std::string::npos)
            aRows = {{"dbo"}};
        else if (strSql.find("DB_NAME()") != std::string::npos)
            aRows = {{m_log.strUse}};
        else if (strSql.find("sys.foreign_keys") != std::string::npos)
            aRows = m_log.aForeignKeys;
        else if (strSql.find("sys.identity_columns") != std::string::npos)
            aRows = m_log.aIdentityTables;
        else if (strSql.find("FROM sys.schemas") != std::string::npos)
            aRows = m_log.aSchemas;
        else if (strSql.find("FROM sys.types") != std::string::npos)
            aRows = m_log.aTypes;
        else if (strSql.find("FROM sys.objects") != std::string::npos)
            aRows = m_log.aObjects;
        else if (strSql.find("FROM sys.database_principals") != std::string::npos)
            aRows = m_log.aPrincipals;
        else
            m_log.Add(m_nNumber, strSql);
        return std::make_unique<CRowsResult>(std::vector<TDbColumn>(4), std::move(aRows));
    }
    std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>&) override {
        return {};
    }
    void ExecuteScript(const std::string& strBatch, IBatchListener& listener) override {
        m_log.Add(m_nNumber, strBatch);
        // Long enough for the other connections to take their turns.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (!m_log.strRefused.empty() && strBatch.find(m_log.strRefused) != std::string::npos)
            AfxThrowDBException(m_log.strRefusedState.c_str(), 207, "Invalid column name 'Missing'.");
        listener.OnRowCount(strBatch.starts_with("INSERT") ? 10 : 0);
    }
    void SetQueryTimeout(DWORD) override {}

private:
    TServerLog& m_log;
    int m_nNumber;
};

class CCountingObserver : public IApplyObserver {
public:
    bool ShouldStop() override { return m_nStopAfter >= 0 && m_nBatches >= m_nStopAfter; }
    void OnFileStarted(size_t nFile) override { FileEvent("+" + std::to_string(nFile)); }
    void OnBatchApplied(size_t, long) override { ++m_nBatches; }
    void OnFileApplied(size_t nFile) override { FileEvent("-" + std::to_string(nFile)); }
    void OnRefused(size_t nFile, long nLine, const CDBException&) override {
        std::lock_guard lock(m_mutex);
        m_aRefused.emplace_back(nFile, nLine);
    }
    void OnUnreadable(size_t, const CException&) override {}
    void OnServerMessage(size_t, long, const TDiagRecord&) override {}
    void OnRowCount(size_t, long, long) override {}

    std::atomic<long> m_nBatches{0};
    long m_nStopAfter = -1;
    std::mutex m_mutex;
    std::vector<std::pair<size_t, long>> m_aRefused;
    std::string m_strFiles; // "+N" as file N starts, "-N" as it is applied

private:
    void FileEvent(const std::string& strEvent) {
        std::lock_guard lock(m_mutex);
        m_strFiles += (m_strFiles.empty() ? "" : " ") + strEvent;
    }
};

TScriptFile Script(const std::string& strName, const std::string& strText, bool bRows = false) {
    return {strName, std::string(), std::make_shared<const std::string>(strText), bRows};
}

// A file of rows as an export writes it: nBatches INSERT batches into the table between the settings that
// turn IDENTITY_INSERT on and off, or without them.
TScriptFile Rows(const std::string& strTable, int nBatches, bool bIdentity) {
    std::string strText = bIdentity ? "SET IDENTITY_INSERT [dbo].[" + strTable + "] ON;\nGO\n" : "";
    for (int i = 1; i <= nBatches; ++i)
        strText += "INSERT INTO [dbo].[" + strTable + "] ([Id]) VALUES\n(" + std::to_string(i) + ");\nGO\n";
    strText += bIdentity ? "SET IDENTITY_INSERT [dbo].[" + strTable + "] OFF;\nGO\n" : "";
    return Script("07-Data/" + strTable + ".sql", strText, true);
}

struct TRun {
    TServerLog log;
    std::vector<std::unique_ptr<CLoggingConnection>> aConnections;
    CCountingObserver observer;

    TApplyResult Apply(std::vector<TScriptFile> aFiles, size_t nConnections, TApplyOptions options = {}) {
        std::vector<CDbConnection*> apConnections;
        for (size_t i = 0; i < nConnections; ++i)
            apConnections.push_back(
                aConnections.emplace_back(std::make_unique<CLoggingConnection>(log, static_cast<int>(i)))
                    .get());
        return ApplyScripts(PlanApply(std::move(aFiles)), apConnections, options, observer);
    }
};

// The other connections follow the first into the database an earlier file switched it to.
TEST(ScriptApply, RowsSpreadOverConnectionsInTheFirstsDatabaseEachWithTheSettingsAroundItsShare) {
    TRun run;
    const TApplyResult result = run.Apply(
        {Script("06-Tables.sql", "CREATE TABLE [dbo].[A] ([Id] int IDENTITY);\nGO\n"), Rows("A", 30, true),
         Script("08-Constraints.sql", "ALTER TABLE [dbo].[A] ADD CHECK (Id > 0);\nGO\n")},
        2);
    EXPECT_FALSE(result.bBroken || result.bStopped);
    EXPECT_EQ(result.nFiles, 3u);
    EXPECT_EQ(result.nBatches, 34);
    EXPECT_EQ(result.nRows, 300);
    for (const int nConnection : {0, 1}) {
        const std::vector<std::string> aSent = run.log.SentTo(nConnection);
        const auto first = std::find_if(aSent.begin(), aSent.end(),
                                        [](const std::string& str) { return str.starts_with("INSERT"); });
        ASSERT_NE(first, aSent.end()) << "connection " << nConnection << " took no rows";
        EXPECT_EQ(*std::prev(first), "SET IDENTITY_INSERT [dbo].[A] ON;");
        const auto last = std::find_if(aSent.rbegin(), aSent.rend(),
                                       [](const std::string& str) { return str.starts_with("INSERT"); });
        EXPECT_EQ(*std::prev(last), "SET IDENTITY_INSERT [dbo].[A] OFF;");
    }
    EXPECT_EQ(run.log.SentTo(0).back(), "ALTER TABLE [dbo].[A] ADD CHECK (Id > 0);");
    EXPECT_EQ(run.log.SentTo(1).front(), "USE [copy];");
    // Every INSERT once, the settings once on each connection, the switch on the second.
    EXPECT_EQ(run.log.aSent.size(), 37u);
}

TEST(ScriptApply, RowsWaitForTheTablesTheirTableReferencesAndKeepIdentityValues) {
    TRun run;
    run.log.aForeignKeys = {{"dbo", "B", "dbo", "A"}};
    run.log.aIdentityTables = {{"dbo", "C"}};
    const TApplyResult result = run.Apply({Rows("A", 8, false), Rows("B", 1, false), Rows("C", 8, false)}, 2);
    EXPECT_EQ(result.nBatches, 17);
    EXPECT_GT(run.log.Span("INSERT INTO [dbo].[B]").first, run.log.Span("INSERT INTO [dbo].[A]").second);
    // A table with an identity column whose file does not turn IDENTITY_INSERT on keeps one connection, so
    // that the server numbers its rows in their order.
    std::set<int> connectionsOfC;
    for (const auto& [nConnection, strLine] : run.log.aSent)
        if (strLine.starts_with("INSERT INTO [dbo].[C]"))
            connectionsOfC.insert(nConnection);
    EXPECT_EQ(connectionsOfC.size(), 1u);
}

TEST(ScriptApply, RefusalStopsTheRunUnlessToGoOnButALostConnectionAlways) {
    const auto files = [] {
        return std::vector<TScriptFile>{Script("a.sql", "SELECT 1\nGO\n\nSELECT Missing\nGO\nSELECT 2\nGO\n"),
                                        Script("b.sql", "SELECT 3\nGO\n")};
    };
    for (const bool bContinue : {false, true}) {
        TRun run;
        run.log.strRefused = "SELECT Missing";
        const TApplyResult result = run.Apply(files(), 1, {bContinue, false});
        EXPECT_EQ(result.nRefused, 1);
        EXPECT_EQ(result.bBroken, !bContinue);
        EXPECT_EQ(result.nBatches, bContinue ? 3 : 1);
        EXPECT_EQ(result.nFiles, bContinue ? 2u : 0u);
        ASSERT_EQ(run.observer.m_aRefused.size(), 1u);
        EXPECT_EQ(run.observer.m_aRefused[0], std::make_pair(size_t{0}, 4L));
        EXPECT_EQ(run.log.SentTo(0).back(),
                  bContinue ? "SELECT 3" : "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION;");
    }
    TRun lost;
    lost.log.strRefused = "SELECT Missing";
    lost.log.strRefusedState = "08S01";
    EXPECT_TRUE(lost.Apply(files(), 1, {true, false}).bBroken);
}

TEST(ScriptApply, SingleTransactionCommitsWhatAppliedAndRollsBackARefusal) {
    for (const bool bRefused : {false, true}) {
        TRun run;
        run.log.strRefused = bRefused ? "SELECT 2" : "";
        run.Apply({Script("a.sql", "SELECT 1\nGO\nSELECT 2\nGO 3\n")}, 1, {false, true});
        const std::vector<std::string> aSent = run.log.SentTo(0);
        EXPECT_EQ(aSent.front(), "SET XACT_ABORT ON; BEGIN TRANSACTION;");
        EXPECT_EQ(aSent.back(),
                  bRefused ? "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION;" : "COMMIT TRANSACTION;");
        EXPECT_EQ(aSent.size(), bRefused ? 4u : 6u); // GO 3 runs its batch three times
    }
}

struct TAfterCommitCase {
    const char* pszRefused; // the first line of the batch refused, if any
    long nStopAfter;        // Ctrl-C after so many batches, or -1
    std::vector<std::string> aSent;
    const char* pszFiles;
    bool bCommitted;
    long nBatches;
};

// Full-text catalogs and indexes change after the single transaction committed, in their order; a file
// that holds only such batches starts then, and one that holds others too is applied then.
TEST(ScriptApply, SingleTransactionRunsFullTextBatchesAfterItCommitted) {
    const auto files = [] {
        return std::vector<TScriptFile>{
            Script("06-Tables.sql", "CREATE TABLE [dbo].[Docs] ([Id] int);\nGO\n"),
            Script("15a-FullText.sql",
                   "CREATE FULLTEXT CATALOG [Docs];\nGO\n"
                   "CREATE FULLTEXT INDEX ON [dbo].[Docs] ([Title]) KEY INDEX [PK_Docs];\nGO\n"),
            Script("18-Mixed.sql", "SELECT 1\nGO\nDROP FULLTEXT CATALOG [Old];\nGO\nSELECT 2\nGO\n")};
    };
    const std::string strBegin = "SET XACT_ABORT ON; BEGIN TRANSACTION;";
    const std::string strRollBack = "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION;";
    const TAfterCommitCase aCases[] = {
        {"",
         -1,
         {strBegin, "CREATE TABLE [dbo].[Docs] ([Id] int);", "SELECT 1", "SELECT 2", "COMMIT TRANSACTION;",
          "CREATE FULLTEXT CATALOG [Docs];",
          "CREATE FULLTEXT INDEX ON [dbo].[Docs] ([Title]) KEY INDEX [PK_Docs];",
          "DROP FULLTEXT CATALOG [Old];"},
         "+0 -0 +2 +1 -1 -2",
         true,
         6},
        {"SELECT 2",
         -1,
         {strBegin, "CREATE TABLE [dbo].[Docs] ([Id] int);", "SELECT 1", "SELECT 2", strRollBack},
         "+0 -0 +2",
         false,
         2},
        {"",
         2,
         {strBegin, "CREATE TABLE [dbo].[Docs] ([Id] int);", "SELECT 1", strRollBack},
         "+0 -0 +2",
         false,
         2},
        {"CREATE FULLTEXT INDEX",
         -1,
         {strBegin, "CREATE TABLE [dbo].[Docs] ([Id] int);", "SELECT 1", "SELECT 2", "COMMIT TRANSACTION;",
          "CREATE FULLTEXT CATALOG [Docs];",
          "CREATE FULLTEXT INDEX ON [dbo].[Docs] ([Title]) KEY INDEX [PK_Docs];", strRollBack},
         "+0 -0 +2 +1",
         true,
         4},
    };
    for (const TAfterCommitCase& test : aCases) {
        SCOPED_TRACE(std::string("refused: ") + test.pszRefused + ", stopped after " +
                     std::to_string(test.nStopAfter));
        TRun run;
        run.log.strRefused = test.pszRefused;
        run.observer.m_nStopAfter = test.nStopAfter;
        const TApplyResult result = run.Apply(files(), 1, {false, true});
        EXPECT_EQ(run.log.SentTo(0), test.aSent);
        EXPECT_EQ(run.observer.m_strFiles, test.pszFiles);
        EXPECT_EQ(result.bCommitted, test.bCommitted);
        EXPECT_EQ(result.bBroken, *test.pszRefused != 0);
        EXPECT_EQ(result.bStopped, test.nStopAfter >= 0);
        EXPECT_EQ(result.nBatches, test.nBatches);
    }
    // Without the single transaction everything runs in order.
    TRun plain;
    plain.Apply(files(), 1);
    EXPECT_EQ(plain.log.SentTo(0).at(2),
              "CREATE FULLTEXT INDEX ON [dbo].[Docs] ([Title]) KEY INDEX [PK_Docs];");
    EXPECT_EQ(plain.observer.m_strFiles, "+0 -0 +1 -1 +2 -2");
}

TEST(ScriptApply, AStopEndsTheRunBeforeTheNextBatch) {
    TRun run;
    run.observer.m_nStopAfter = 2;
    const TApplyResult result = run.Apply({Script("a.sql", "SELECT 1\nGO\nSELECT 2\nGO\nSELECT 3\nGO\n")}, 1);
    EXPECT_TRUE(result.bStopped);
    EXPECT_EQ(result.nBatches, 2);
    EXPECT_EQ(run.log.SentTo(0),
              (std::vector<std::string>{"SELECT 1", "SELECT 2", "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION;"}));
}

// The planned objects the database of the log has, as "schema.name:line".
std::vector<std::string> Existing(TServerLog& log, const TApplyPlan& plan) {
    CLoggingConnection connection(log, 0);
    std::vector<std::string> aFound;
    for (const TPlannedObject& object : FindExistingObjects(connection, plan))
        aFound.push_back(object.object.name.strSchema + "." + object.object.name.strName + ":" +
                         std::to_string(object.nLine));
    return aFound;
}

// Schemas, types and the other objects each have names of their own; names compare without regard to case,
// and one without a schema is in the default one.
TEST(ScriptApply, ObjectsTheDatabaseHasAlreadyAreFoundInTheirNamespace) {
    TServerLog log;
    log.aSchemas = {{"", "dbo"}, {"", "sales"}};
    log.aTypes = {{"dbo", "name"}};
    log.aObjects = {{"dbo", "ORDERS"}, {"sales", "Name"}};
    const TApplyPlan plan =
        PlanApply({Script("a.sql", "CREATE SCHEMA [Sales];\nGO\nCREATE TYPE [dbo].[Name] FROM int;\n"
                                   "CREATE TABLE Orders (Id int);\nCREATE TABLE [sales].[Orders] "
                                   "(Id int);\nGO\nCREATE VIEW [dbo].[Sales] AS SELECT 1 AS a\nGO\n")});
    EXPECT_EQ(Existing(log, plan), (std::vector<std::string>{".Sales:1", "dbo.Name:3", ".Orders:3"}));
}

// What a clean file drops before the scripts create it again is replaced, not in the way; users and roles are
// looked for among the database's principals, and a drop after the CREATE does not help.
TEST(ScriptApply, ObjectsDroppedBeforeTheyAreCreatedAreNoCollisionAndPrincipalsAreLookedFor) {
    TServerLog log;
    log.aObjects = {{"dbo", "Orders"}, {"dbo", "Lines"}, {"sales", "v"}};
    log.aPrincipals = {{"", "readers"}, {"", "writers"}, {"", "app_user"}};
    const TApplyPlan plan =
        PlanApply({Script("00-Clean.sql",
                          "DROP VIEW IF EXISTS [sales].[v];\nGO\nDROP TABLE IF EXISTS [dbo].[Orders];\nGO\n"
                          "IF DATABASE_PRINCIPAL_ID(N'readers') IS NOT NULL DROP ROLE [readers];\nGO\n"),
                   Script("01-Schemas.sql", "CREATE ROLE [readers];\nGO\nCREATE ROLE [Writers];\nGO\nCREATE "
                                            "USER [app_user] WITHOUT LOGIN;\nGO\n"),
                   Script("06-Tables.sql",
                          "CREATE TABLE Orders (Id int);\nGO\nCREATE TABLE [dbo].[Lines] (Id int);\nGO\n"
                          "CREATE VIEW sales.v AS SELECT 1 AS a\nGO\nDROP TABLE [dbo].[Lines];\nGO\n")});
    EXPECT_EQ(Existing(log, plan), (std::vector<std::string>{".Writers:3", ".app_user:5", "dbo.Lines:3"}));
}

} // namespace
