// Comparing two databases as a program runs it: each side a catalog snapshot, a folder that ExportRecreate
// wrote (applied to a scratch database of a server the program names, read and dropped again) or a server;
// both loaded at once; their differences as records, in the order a migration deals with them; and the
// migration, T-SQL that brings FROM to the state of TO. The differences' lines, their JSON and the migration
// are three renderings of the same records.
#pragma once

#include "JobNotice.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// A text the job writes: into a file, which it replaces, or into the program's stream, which it leaves open.
struct TTextOutput {
    std::string strFile;
    std::FILE* pStream = nullptr; // instead of the file
};

// --rename table OLD=NEW, --rename column TABLE.OLD=NEW: the migration renames OLD, rows kept.
struct TDiffRename {
    bool bColumn = false;
    std::string strText; // OLD=NEW as typed
};

struct TDiffJobOptions {
    // Each side: a folder with a manifest (applied to a scratch database of strShadow), an existing file (a
    // catalog snapshot that ExportRecreate recorded), or else an ODBC connect string.
    std::string strFrom;   // the database as it is
    std::string strTo;     // the state it is to reach
    std::string strShadow; // the connect string of a server where the job may create and drop a database
    std::optional<TTextOutput> script; // the migration
    std::optional<TTextOutput> json;   // the differences and refusals for programs
    std::FILE* pLines = nullptr;       // one line per difference, when not null
    bool bDrop = false;                // drop the objects of their own schema that only FROM has
    bool bAllowDataLoss = false;
    bool bAllowRebuild = false;
    bool bRestartSequences = false;
    bool bStrict = false;    // what the scripts do not carry, on either side, fails the job before it writes
    bool bLineFeeds = false; // the migration's own lines end with LF instead of CR LF
    // The migration first checks that its target is still the FROM it was written for, where FROM is a
    // server.
    bool bDriftCheck = true;
    bool bTextDiffs = true; // the lines show a unified diff of a changed module's text under its line
    // --data-tables patterns: the rows of the tables they pick that both sides have are compared by key and
    // migrated after the schema; no folder side then.
    std::vector<std::string> aDataTables;
    // FROM's tables and columns that TO holds under other names: "dbo.Orders=Sales", "Orders.Amount=Total"
    // (schema dbo where none is named, names in brackets or double quotes where they hold a dot or '=').
    std::vector<TDiffRename> aRenames;
    // What the migration's first line says wrote it, and when: "sqlscripts 1.4.0"; none: now.
    std::string strWrittenBy = "sqlscripts";
    std::optional<std::time_t> nWrittenAt;
};

enum class eDiffEntry { Added, Removed, Kept, Changed, Renamed };

// A difference: an object only one side has (Kept: only FROM has it, and the migration leaves it), one
// property of an object both have, or a table or column renamed (its old name and its new one as the values).
struct TDiffEntry {
    eDiffEntry eChange = eDiffEntry::Changed;
    std::string strKind;   // as the kinds table names it: "table", "extended property"
    std::string strName;   // as lines name the object: "dbo.Orders.Amount"
    std::string strSchema; // the object's match key: schema, table (or the object a property is on), name
    std::string strTable;
    std::string strObject;
    std::string strProperty; // Changed: the property's label, and its value on each side (or Renamed's names)
    std::string strOld;
    std::string strNew;
    bool bText = false; // Changed: the values are a module's text, which lines show as a unified diff
};

// Hears a comparison. The records of the two sides are told in order, FROM's first, once both are loaded;
// those of TO not at all when FROM failed.
class IDiffJobObserver : public IJobObserver {
public:
    // bPending: the job made a scratch database, which it drops before it ends, stopped or not; false once it
    // is dropped or left (told). A program that ends at a signal waits for it meanwhile.
    virtual void OnScratchDatabase(bool /*bPending*/) {}
};

struct TDiffJobResult {
    eJobEnd eEnd = eJobEnd::Done;
    std::vector<TDiffEntry> aDifferences; // none: the two describe alike
};

// Loads both sides, each on a thread of its own, compares them and writes what the options ask: the JSON
// first (refusals included), then, unless a change is refused (a record each, and the job fails), the
// migration, then the lines.
TDiffJobResult DiffDatabases(const TDiffJobOptions& options, IDiffJobObserver& observer);
