// What the tests against a live server share: connect strings naming a database, the host program's export,
// scripts run batch by batch, and databases of the tests' own.
#pragma once

#include "cases/CaseSupport.h"
#include "cases/HostRun.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

using TFiles = std::map<std::string, std::string>;
using TRefusals = std::vector<std::pair<std::string, std::string>>; // statement, the server's answer

inline const std::filesystem::path kLiveDir = SCRIPTS_LIVE_DIR;

inline std::vector<std::string> LiveLines(const std::string& strName) {
    std::vector<std::string> aLines;
    std::istringstream in(ReadWholeFile((kLiveDir / strName).string()));
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty() && strLine[0] != '#')
            aLines.push_back(strLine);
    return aLines;
}

inline std::string WithKey(const std::string& strConnect, const std::string& strKey,
                           const std::string& strValue) {
    const std::string strRest =
        std::regex_replace(strConnect, std::regex("(^|;)" + strKey + "=[^;]*(;|$)", std::regex::icase), "$1");
    return strRest + (strRest.empty() || strRest.ends_with(";") ? "" : ";") + strKey + "=" + strValue;
}

inline std::string ConnectTo(const std::string& strDatabase) {
    return WithKey(std::getenv("SQLSCRIPTS_TEST_CONNECT"), "DATABASE", strDatabase);
}

// A key's value in the connect string of the tests' server.
inline std::string KeyOf(const std::string& strKey, const std::string& strDefault) {
    const std::string strConnect = std::getenv("SQLSCRIPTS_TEST_CONNECT");
    std::smatch match;
    const std::regex key("(^|;)" + strKey + "=([^;,]*)", std::regex::icase);
    return std::regex_search(strConnect, match, key) ? match[2].str() : strDefault;
}

// socat in a session of its own, so that killing its process group also ends the connections it carries;
// returned once a login through it works.
inline pid_t StartRelay(const std::string& strPort, const std::string& strRelayed) {
    const CTempDir dir;
    std::system(("setsid socat TCP-LISTEN:" + strPort + ",bind=127.0.0.1,reuseaddr,fork TCP:" +
                 KeyOf("SERVER", "") + ":" + KeyOf("PORT", "1433") + " & echo $! >" + dir.File("pid"))
                    .c_str());
    CDatabase db;
    for (int nTry = 0; nTry < 100 && !db.IsOpen(); ++nTry)
        if (CatchAs<CDBException>([&] { db.OpenEx(strRelayed.c_str(), CDatabase::noOdbcDialog); }))
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return db.IsOpen() ? std::atoi(ReadWholeFile(dir.File("pid")).c_str()) : -1;
}

inline THostRun Export(const std::string& strDir, std::vector<std::string> aArgs, bool bParallel = false) {
    aArgs.insert(aArgs.begin(), {"export", "--dir", strDir});
    if (bParallel)
        aArgs.push_back("--parallel");
    return RunHost(aArgs, std::filesystem::temp_directory_path().string(), {}, std::nullopt);
}

// The exit status of the run, or -1 when it has not ended in time (then it is killed, so a run that hangs
// fails the test instead of holding it up).
inline int WaitAtMost(pid_t run, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int nWait = 0;
    while (::waitpid(run, &nWait, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(run, SIGKILL);
            WaitHost(run);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
}

// sqlscripts apply of a folder or script into a database of the server.
inline THostRun ApplyTo(const std::string& strDatabase, const std::string& strPath,
                        std::vector<std::string> aArgs = {}) {
    aArgs.insert(aArgs.begin(), {"apply", strPath, "--connect", ConnectTo(strDatabase)});
    return RunHost(aArgs, std::filesystem::temp_directory_path().string(), {}, std::nullopt);
}

// A batch apply refused, as its line says: "sqlscripts: FILE:LINE: the server's words (SQLSTATE ...)".
struct TApplyRefusal {
    std::string strFile;
    long nLine = 0;
    std::string strMessage;
};

// The refusals apply said, and in strOther every other line it said.
inline std::vector<TApplyRefusal> ApplyRefusals(const std::string& strErr, std::string& strOther) {
    std::vector<TApplyRefusal> aRefusals;
    const std::regex refusal("sqlscripts: (.+?):([0-9]+): (.*\\(SQLSTATE [^)]*\\))");
    std::istringstream in(strErr);
    for (std::string strLine; std::getline(in, strLine);) {
        std::smatch match;
        if (std::regex_match(strLine, match, refusal))
            aRefusals.push_back({match[1], std::stol(match[2]), match[3]});
        else
            strOther += strLine + "\n";
    }
    return aRefusals;
}

// The batch of a script that begins at line nLine: its lines up to the next line that holds only GO.
inline std::string BatchAt(const std::string& strScript, long nLine) {
    std::istringstream in(strScript);
    std::string strBatch;
    long nAt = 0;
    for (std::string strLine; std::getline(in, strLine);) {
        if (++nAt < nLine)
            continue;
        if (std::regex_match(strLine, std::regex("[ \t]*GO[ \t]*\r?", std::regex::icase)))
            break;
        strBatch += strLine + "\n";
    }
    return strBatch;
}

// The batches of a script: its text between lines that hold only GO.
inline std::vector<std::string> Batches(const std::string& strScript) {
    const std::regex go("(^|\n)[ \t]*GO[ \t]*\r?(?=\n|$)", std::regex::icase);
    std::vector<std::string> aBatches(std::sregex_token_iterator(strScript.begin(), strScript.end(), go, -1),
                                      {});
    std::erase_if(aBatches,
                  [](const std::string& str) { return str.find_first_not_of(" \t\r\n") == str.npos; });
    return aBatches;
}

inline TRefusals RunBatches(CDatabase& db, const std::vector<std::string>& aBatches) {
    TRefusals aRefused;
    for (const std::string& strBatch : aBatches)
        if (const auto e = CatchAs<CDBException>([&] { RunSql(db, strBatch.c_str()); }))
            aRefused.emplace_back(strBatch, e->GetErrorText().Str());
    return aRefused;
}

inline void RunOnMaster(const std::string& strSql) {
    CDatabase db;
    db.OpenEx(ConnectTo("master").c_str(), CDatabase::noOdbcDialog);
    RunSql(db, strSql.c_str());
}

// This server refuses a CREATE or DROP DATABASE that meets another one in its catalog ("tuple concurrently
// updated"), as the two live test processes may: such a statement is tried again a few times.
inline CExceptionPtr<CDBException> RunOnMasterRetried(const std::string& strSql) {
    for (int nTry = 1;; ++nTry) {
        auto e = CatchAs<CDBException>([&] { RunOnMaster(strSql); });
        if (!e || nTry == 5 || e->GetErrorText().Str().find("concurrently") == std::string::npos)
            return e;
        ::usleep(200000 * nTry);
    }
}

// A run of the program whose first statement makes a database meets the same refusal having changed nothing,
// so it is run again.
template <typename TRun> THostRun RetriedWhileDatabasesMeet(const TRun& run) {
    for (int nTry = 1;; ++nTry) {
        THostRun done = run();
        if (done.nStatus == 0 || nTry == 5 ||
            done.strErr.find("tuple concurrently updated") == std::string::npos)
            return done;
        ::usleep(200000 * nTry);
    }
}

// The first file of export --create-database as this server takes it: no ALTER DATABASE, and CREATE DATABASE
// only in the collation it names otherwise.
inline std::string FittedToServer(const std::string& strScript) {
    const std::string strCollated = std::regex_replace(strScript, std::regex("COLLATE [A-Za-z0-9_]+;"),
                                                       "COLLATE sql_latin1_general_cp1_ci_as;");
    return std::regex_replace(strCollated, std::regex("ALTER DATABASE [^\r\n]*\r\nGO\r\n"), "");
}

// A database of the test's own and a connection to it; dropped with everything in it at the end.
struct TScratchDatabase {
    // A server that refuses the database fails the test with its words, not as an unknown exception.
    explicit TScratchDatabase(const std::string& strSuffix)
        : strName("sqlscripts_live_" + std::to_string(::getpid()) + "_" + strSuffix) {
        if (const auto e = RunOnMasterRetried("CREATE DATABASE [" + strName + "]"))
            throw std::runtime_error(strName + " was not created: " + e->GetErrorText().Str());
        db.OpenEx(ConnectTo(strName).c_str(), CDatabase::noOdbcDialog);
    }
    ~TScratchDatabase() {
        db.Close();
        if (const auto e = RunOnMasterRetried("DROP DATABASE [" + strName + "]"))
            ADD_FAILURE() << strName << " was not dropped: " << e->GetErrorText().Str();
    }
    const std::string strName;
    CDatabase db;
};

// The module lists indexes ORDER BY name only, so indexes of one name on several tables come in whatever
// order the server gives that tie, which may change between two runs of the statement: such runs of blocks
// are compared sorted, everything else as written.
inline TFiles WithIndexNameTiesSorted(TFiles files) {
    const auto it = files.find("Indexes.sql");
    if (it == files.end())
        return files;
    const std::regex name("INDEX \\[([^\\]]*)\\]");
    const std::string& strText = it->second;
    std::vector<std::string> aBlocks;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strText.find("\r\n\r\n", nStart)) != std::string::npos; nStart = nEnd + 4)
        aBlocks.push_back(strText.substr(nStart, nEnd + 4 - nStart));
    const auto nameOf = [&](const std::string& strBlock) {
        std::smatch found;
        return std::regex_search(strBlock, found, name) ? found[1].str() : std::string();
    };
    for (auto first = aBlocks.begin(); first != aBlocks.end();) {
        const auto tieEnd = std::find_if(first, aBlocks.end(), [&](const std::string& strBlock) {
            return nameOf(strBlock) != nameOf(*first);
        });
        std::sort(first, tieEnd);
        first = tieEnd;
    }
    std::string strSorted;
    for (const std::string& strBlock : aBlocks)
        strSorted += strBlock;
    it->second = strSorted + strText.substr(nStart);
    return files;
}
