#include "DemoCommand.h"

#include "DiffCommand.h"
#include "ExportCommand.h"
#include "Installed.h"
#include "Messages.h"
#include "Notices.h"
#include "Session.h"
#include "jobs/JobFiles.h"
#include "jobs/Manifest.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kVersionOne = "shop-v1.json";
constexpr const char* kVersionTwo = "shop-v2.json";
constexpr size_t kLineWidth = 100;

std::string Inside(const std::string& dir, const std::string& name) {
    return (fs::path(dir) / name).string();
}

// The snapshots go beside what the demo writes, so that the migration's header names them where the reader
// finds them, and the commands the reader tries next run on them.
bool CopySnapshots(const std::string& dir) {
    if (const int error = MakeFolder(dir)) {
        Say(NoticeLine(FolderNotice(dir, error)));
        return false;
    }
    for (const std::string name : {kVersionOne, kVersionTwo}) {
        const std::string to = Inside(dir, name);
        std::error_code ec;
        fs::copy_file(InstalledOr("share/sqlscripts/samples/" + name, SQLSCRIPTS_SAMPLES_DIR "/" + name), to,
                      fs::copy_options::overwrite_existing, ec);
        if (ec) {
            Say(Format(Tr("cannot write %s: %s"), to.c_str(), SystemReason(ec.value()).c_str()));
            return false;
        }
    }
    return true;
}

// The folder's files in apply order, the files of a subfolder (the rows) counted in one entry.
std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> entries;
    std::string subfolder;
    unsigned long count = 0;
    const auto countSubfolder = [&] {
        if (count > 0)
            entries.push_back(subfolder + " " + Format(TrN("(%lu file)", "(%lu files)", count), count));
        count = 0;
    };
    for (const std::string& file : ReadManifest(folder)) {
        const size_t slash = file.find('/');
        const std::string under = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
        if (under != subfolder)
            countSubfolder();
        subfolder = under;
        if (under.empty())
            entries.push_back(file);
        else
            ++count;
    }
    countSubfolder();
    entries.push_back(kManifestName);
    return entries;
}

void PrintWrapped(std::string line, const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (line.size() + 1 + word.size() > kLineWidth) {
            std::printf("%s\n", line.c_str());
            line = " ";
        }
        line += " " + word;
    }
    std::printf("%s\n", line.c_str());
}

void PrintServerCommands() {
    std::printf("\n%s\n", Tr("The same against a server (the README's quick start shows each step):"));
    std::printf(
        "%s\n",
        "CONNECT='DRIVER=FreeTDS;SERVER=sql.example.com;PORT=1433;UID=dba;PWD=secret;TDS_Version=7.4;"
        "ClientCharset=UTF-8'\n"
        "sqlscripts export --recreate --data --connect \"$CONNECT;DATABASE=Shop\" --dir shop\n"
        "sqlscripts diff \"$CONNECT;DATABASE=Shop\" \"$CONNECT;DATABASE=ShopTest\" --script migrate.sql\n"
        "sqlscripts apply migrate.sql --connect \"$CONNECT;DATABASE=Shop\"");
}

} // namespace

int RunDemo(const std::string& dir) {
    if (!CopySnapshots(dir))
        return kExitFailed;
    const std::string versionOne = Inside(dir, kVersionOne), versionTwo = Inside(dir, kVersionTwo);
    std::printf("%s\n%s %s\n",
                Tr("A small shop database in two versions, as catalog snapshots recorded from a server:"),
                versionOne.c_str(), versionTwo.c_str());

    std::printf("\n1. %s\n", Tr("Version 1 as scripts that rebuild it with its rows, a folder to keep in git "
                                "(export --recreate --data):"));
    ExportOptions exportOptions;
    exportOptions.dir = Inside(dir, "shop");
    exportOptions.recreate = true;
    exportOptions.data = true;
    exportOptions.replace = eReplacePolicy::All;
    exportOptions.quiet = true;
    Source source;
    source.snapshot = versionOne;
    if (const int status = ExportRecreate(exportOptions, [&](CDatabase& db) { return Connect(db, source); });
        status != kExitOk)
        return status;
    PrintWrapped(exportOptions.dir + ":", FolderEntries(exportOptions.dir));

    std::printf("\n2. %s\n", Tr("What differs from version 1 to version 2 (diff):"));
    std::fflush(stdout);
    DiffOptions diffOptions;
    diffOptions.from = versionOne;
    diffOptions.to = versionTwo;
    diffOptions.script = Inside(dir, "migrate.sql");
    // Version 2 drops a column that holds no values, which the script checks before it drops it.
    diffOptions.allowDataLoss = true;
    // diff's own statuses: 0 alike, 1 different (both done), 2 trouble (said); or the signal's.
    if (const int status = RunDiff(diffOptions); status > 1)
        return status == kExitUsage ? kExitFailed : status;

    std::printf("\n3. %s\n%s\n",
                Tr("The migration, one transaction (diff --script; --allow-data-loss drops Fax, where it "
                   "holds no values):"),
                diffOptions.script->c_str());
    PrintServerCommands();
    return kExitOk;
}
