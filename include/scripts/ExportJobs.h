// Exports into files as a program runs them: the module's category scripts, a file per category or per
// object, and the faithful scripts that rebuild the database with its rows. Files take their names only when
// whole and never in place of an existing file without leave; a folder's manifest lists what exports wrote
// into it.
#pragma once

#include "JobNotice.h"
#include "SqlTypeObjects.h"
#include "backend/Database.h"
#include "model/CatalogModel.h"

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What to do with a file that exists already.
enum class eReplacePolicy {
    Ask,   // the observer's AskReplace answers
    All,   // replace it
    Never, // keep it, and stop the export there
};

enum class eReplaceAnswer { Yes, YesToAll, No, Cancel };

// Hears an export: what is written as it goes, and the question about an existing file.
class IExportObserver : public IJobObserver {
public:
    // The file, named as the folder shows it, exists: whether to replace it. One question at a time.
    virtual eReplaceAnswer AskReplace(const std::string& /*strShown*/) { return eReplaceAnswer::Cancel; }
    // The catalog model's statements, nDone of nTotal read (ExportRecreate).
    virtual void OnCatalogRead(size_t /*nDone*/, size_t /*nTotal*/) {}
    // The catalog was read whole (bWhole) or its reading failed.
    virtual void OnCatalogDone(bool /*bWhole*/) {}
    // The parts of the output: the module's categories (eSqlTypeObjects), or the sections of the faithful
    // scripts (eRecreateSection). Parts of the module's parallel run are told from its workers.
    virtual void OnPartStarted(int /*nPart*/) {}
    virtual void OnPartSize(int /*nPart*/, long /*nObjects*/) {}
    virtual void OnObjectDone(int /*nPart*/) {}
    // bWritten: false when the part's files were left as they were.
    virtual void OnPartFinished(int /*nPart*/, bool /*bWritten*/) {}
};

struct TExportResult {
    eJobEnd eEnd = eJobEnd::Done;
    std::string strDatabase;   // the database read; empty when not known
    std::string strWrittenTo;  // the folder, or the file of the one stream
    std::vector<int> aWritten; // the module's categories written, in category order
    bool bStreamCut = false;   // the program's stream got bytes, but not its closing line
};

// Opens the connection; false when it cannot, the program having said why.
using TConnectDatabase = std::function<bool(CDatabase& db)>;

// An argument given for a connect string that holds no '=' and names no existing folder or file: a mistyped
// path, which a driver would only answer with "data source name not found".
bool IsMistypedPath(const std::string& strArgument);

// The module's default file of each category: "Defaults.sql", "Udt.sql", ...
std::array<std::string, SQL_CATEGORY_COUNT> ModuleCategoryFiles();

struct TModuleExportOptions {
    std::string strDir = "scripts";
    std::vector<int> aCategories; // those written, in the module's order
    std::array<std::string, SQL_CATEGORY_COUNT> aFiles = ModuleCategoryFiles(); // relative to strDir
    // A file per object, where {category}, {schema} and {name} put it; a text that is no such template throws
    // std::invalid_argument.
    std::optional<std::string> strNameTemplate;
    eReplacePolicy eReplace = eReplacePolicy::Never;
    bool bPrune = false; // remove the object files earlier exports wrote for objects that are gone
    bool bCollation = false;
    bool bDependencyOrder = false;
    bool bParallel = false;
    bool bPrefetch = false;
    bool bStopAtFirstFailure = false; // the first failure ends the run, and those after it go unsaid
};

// Writes the categories' scripts into the folder, made when missing, through the module's CScriptUnloader: a
// category whose script fails keeps its file, and a file the policy keeps stops the run there. A live
// connection lost ends the run at its next object.
TExportResult ExportModuleScripts(CDatabase& db, const TModuleExportOptions& options,
                                  IExportObserver& observer);

// Every model kind.
std::array<bool, MODEL_KIND_COUNT> EveryModelKind();

struct TRecreateExportOptions {
    std::string strDir = "scripts";
    std::optional<std::string> strOutput;       // every file's text into this one file instead of the folder
    std::FILE* pStream = nullptr;               // or into this stream, which the job does not close
    std::optional<std::string> strNameTemplate; // a file per object, as for the module's export
    eReplacePolicy eReplace = eReplacePolicy::Never;
    bool bPrune = false;    // remove the files earlier exports wrote and this one did not
    bool bParallel = false; // the catalog read on three connections, unless the rows are of one moment
    std::array<bool, MODEL_KIND_COUNT> aKinds = EveryModelKind();
    // SCHEMA.NAME patterns, * for any run of characters, compared as the database compares names.
    std::vector<std::string> aSchemas; // none: every schema
    std::vector<std::string> aExcludedSchemas;
    std::vector<std::string> aObjects; // none: every object
    std::vector<std::string> aExcludedObjects;
    bool bClean = false;                          // drop first what the scripts create, where it exists
    std::optional<std::string> strCreateDatabase; // a first file that makes this database and switches to it
    bool bData = false;                           // the tables' rows too
    bool bDataOnly = false;                       // the rows alone
    std::vector<std::string> aDataTables;         // patterns of the tables whose rows; none: every table
    std::vector<std::string> aExcludedDataTables; // patterns of the tables whose rows are left out
    int nRowsPerInsert = 100;
    bool bConsistent = false; // the rows as of one moment, or nothing
    bool bStrict = false;     // what the scripts do not carry stops the run before anything is written
    // The scripts' own lines end with LF instead of CR LF; the catalog's texts keep theirs.
    bool bLineFeeds = false;
};

// Loads the catalog model and writes its faithful scripts (and rows) in apply order, then the folder's
// manifest. Nothing is written when a pattern matches nothing, and a run that stops leaves no file of its
// own.
TExportResult ExportRecreate(const TConnectDatabase& connect, const TRecreateExportOptions& options,
                             IExportObserver& observer);
// How the progress of ExportRecreate names its sections: "06-Tables.sql", "07-Data", or with a file per
// object "Tables", "Data".
std::vector<std::string> RecreateProgressNames(bool bObjectFiles);

struct TObjectScript {
    eJobEnd eEnd = eJobEnd::Done;
    std::string strText;
};

// The faithful script of [SCHEMA.]NAME (a part in brackets or double quotes may hold a dot): a table with its
// keys, checks, defaults, indexes, foreign keys and properties; a view, procedure, function, trigger, type,
// sequence, synonym, schema; a user or role with its memberships; or a table's check, default, index or
// foreign key. Without a schema, dbo's object is meant when several schemas have one of that name. With
// bStrict, what the catalog holds that the scripts do not carry fails the job instead of a warning; with
// bLineFeeds, the script's own lines end with LF instead of CR LF.
TObjectScript FindRecreateObject(CDatabase& db, const std::string& strName, IJobObserver& observer,
                                 bool bStrict = false, bool bLineFeeds = false);
