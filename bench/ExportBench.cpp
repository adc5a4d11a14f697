// Measures one full export in a fresh process: the snapshot load, then the sequential or parallel run, or the
// faithful scripts of --recreate. Prints one line of key=value pairs for bench/run to collect.
#include "backend/Snapshot.h"
#include "export/CategoryTable.h"
#include "platform/File.h"
#include "scripts/Recreate.h"
#include "scripts/ScriptUnloader.h"
#include "ui/Ui.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct TOptions {
    std::string strSnapshot;
    std::string strConnect;
    std::string strDir;
    std::string strRecord; // a snapshot to record the run into
    bool bParallel = false;
    bool bPrefetch = false;
    bool bLoadOnly = false;
    bool bObserve = false;
    bool bRecreate = false;
    long nDelayUs = 0;
};

// The least a host's observer does: it counts the objects, so that the run takes its observed path.
class CCountingObserver : public IScriptObserver {
public:
    void OnObjectScripted(int, const char*, const char*, const CString&) override { ++m_nObjects; }

private:
    std::atomic<long> m_nObjects{0};
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        const bool bHasValue = i + 1 < argc;
        if (strArg == "--parallel")
            options.bParallel = true;
        else if (strArg == "--prefetch")
            options.bPrefetch = true;
        else if (strArg == "--load-only")
            options.bLoadOnly = true;
        else if (strArg == "--observe")
            options.bObserve = true;
        else if (strArg == "--recreate")
            options.bRecreate = true;
        else if (strArg == "--snapshot" && bHasValue)
            options.strSnapshot = argv[++i];
        else if (strArg == "--connect" && bHasValue)
            options.strConnect = argv[++i];
        else if (strArg == "--dir" && bHasValue)
            options.strDir = argv[++i];
        else if (strArg == "--record" && bHasValue)
            options.strRecord = argv[++i];
        else if (strArg == "--delay-us" && bHasValue)
            options.nDelayUs = std::atol(argv[++i]);
        else
            return false;
    }
    return !options.strDir.empty() && options.strSnapshot.empty() != options.strConnect.empty();
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto toSeconds = [](const timeval& tv) {
        return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6;
    };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

// The resident size now, from /proc/self/statm (in pages).
long ResidentKb() {
    long nPages = 0, nResident = 0;
    if (std::FILE* pFile = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(pFile, "%ld %ld", &nPages, &nResident) != 2)
            nResident = 0;
        std::fclose(pFile);
    }
    return nResident * (sysconf(_SC_PAGESIZE) / 1024);
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct TOutput {
    std::uintmax_t nBytes = 0;
    std::uintmax_t nLargest = 0;
};

TOutput MeasureOutput(const std::string& strDir) {
    TOutput output;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strDir)) {
        output.nBytes += entry.file_size();
        output.nLargest = std::max(output.nLargest, entry.file_size());
    }
    return output;
}

// export --recreate as the host runs it: the model let go once scripted, a file per section whose name
// order is the apply order, and the manifest.
void Recreate(CDatabase& db, const TOptions& options) {
    std::vector<TRecreateStep> aSteps =
        ScriptCatalogModel(LoadCatalogModel(db, options.bParallel ? 3 : 1)).aSteps;
    std::filesystem::create_directories(options.strDir);
    std::string strManifest;
    for (size_t i = 0; i < aSteps.size();) {
        const eRecreateSection eSection = aSteps[i].eSection;
        const std::string strFile = RecreateSectionFileName(eSection) + ".sql";
        size_t nEnd = i, nSize = 0;
        for (; nEnd < aSteps.size() && aSteps[nEnd].eSection == eSection; ++nEnd)
            nSize += aSteps[nEnd].strText.size();
        std::string strText = std::move(aSteps[i].strText);
        strText.reserve(nSize);
        for (++i; i < nEnd; ++i) {
            strText += aSteps[i].strText;
            std::string().swap(aSteps[i].strText);
        }
        WriteFileReplacing((options.strDir + "/" + strFile).c_str(), strText.data(), strText.size());
        strManifest += strFile + "\n";
    }
    WriteFileReplacing((options.strDir + "/manifest.txt").c_str(), strManifest.data(), strManifest.size());
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s (--snapshot FILE | --connect ODBC) --dir DIR [--parallel] [--prefetch] "
                     "[--observe] [--recreate] [--delay-us N] [--record FILE] [--load-only]\n",
                     argv[0]);
        return 2;
    }
    // Sleeps of the modelled latency end on time instead of up to 50 us late; threads inherit this.
    prctl(PR_SET_TIMERSLACK, 1UL);
    std::filesystem::remove_all(options.strDir);

    double dLoad = 0;
    long nLoadedKb = 0;
    std::shared_ptr<const CCatalogSnapshot> pSnapshot;
    std::string strConnect = options.strConnect;
    try {
        if (!options.strSnapshot.empty()) {
            const auto start = std::chrono::steady_clock::now();
            pSnapshot = CCatalogSnapshot::Open(options.strSnapshot);
            dLoad = Seconds(std::chrono::steady_clock::now() - start);
            nLoadedKb = ResidentKb();
            strConnect = "SNAPSHOT=" + options.strSnapshot;
            if (options.nDelayUs > 0)
                strConnect += ";DELAY_US=" + std::to_string(options.nDelayUs);
        }
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        std::fprintf(stderr, "%s\n", e->GetErrorText().GetString());
        return 1;
    }
    if (options.bLoadOnly) {
        std::printf("load_s=%.3f cpu_s=%.3f loaded_rss_kb=%ld peak_rss_kb=%ld\n", dLoad, CpuSeconds(),
                    nLoadedKb, PeakResidentKb());
        return 0;
    }

    if (!options.strRecord.empty())
        strConnect = "SAVE_SNAPSHOT=" + options.strRecord + ";" + strConnect;
    CDatabase db;
    try {
        db.OpenEx(strConnect.c_str(), CDatabase::noOdbcDialog);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        std::fprintf(stderr, "cannot connect: %s\n", e->GetErrorText().GetString());
        return 1;
    }
    CScriptUnloader unloader(db, nullptr, options.strDir.c_str());
    for (int i = 0; i < SQL_CATEGORY_COUNT; ++i) {
        unloader.m_aFiles[static_cast<size_t>(i)].bEnabled = 1;
        unloader.m_aFiles[static_cast<size_t>(i)].strFile =
            g_aCategories[static_cast<size_t>(i)].pszDefaultFile;
    }
    unloader.m_bNoCollation = 1;
    unloader.m_bPrefetch = options.bPrefetch ? 1 : 0;
    CCountingObserver observer;
    if (options.bObserve)
        unloader.SetObserver(&observer);

    const double dCpuBefore = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (options.bRecreate)
        Recreate(db, options);
    else if (options.bParallel)
        unloader.ExecScriptDataThreads();
    else
        unloader.ExecScriptData();
    const double dWall = Seconds(std::chrono::steady_clock::now() - start);
    const double dCpu = CpuSeconds() - dCpuBefore;

    const TOutput output = MeasureOutput(options.strDir);
    const std::uintmax_t nSnapshotBytes =
        options.strSnapshot.empty() ? 0 : std::filesystem::file_size(options.strSnapshot);
    std::printf("load_s=%.3f snapshot_bytes=%ju loaded_rss_kb=%ld wall_s=%.3f cpu_s=%.3f peak_rss_kb=%ld "
                "bytes_written=%ju "
                "largest_file=%ju messages=%zu\n",
                dLoad, nSnapshotBytes, nLoadedKb, dWall, dCpu, PeakResidentKb(), output.nBytes,
                output.nLargest, AfxGetHeadlessUiBackend().GetMessages().size());
    return 0;
}
