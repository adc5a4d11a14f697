// The faithful script's steps as files in apply order: a file per section or per object, the tables' rows a
// file each, and where they go: a folder with its manifest, or one stream.
#pragma once

#include "jobs/NameTemplate.h"
#include "jobs/ReplaceGate.h"
#include "recreate/DataPlan.h"
#include "recreate/RecreateScript.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A table's rows: too many to hold, so written into the file's place under a temporary name before the run
// writes any file, and put in place in their turn.
struct TDataFile {
    TDataStep step;
    std::unique_ptr<CFileReplacement> pWritten;
};

struct TRecreateFile {
    std::string strPath; // relative to the output folder, '/'-separated
    std::string strText;
    eRecreateSection eSection;
    long nObjects = 0;
    std::shared_ptr<TDataFile> pData; // set for a file of rows, whose text is not held
};

// One file per section that has steps, named "NN-Section.sql" so that name order is apply order; the drops of
// --clean are "00-Clean.sql".
std::vector<TRecreateFile> RecreateSectionFiles(std::vector<TRecreateStep>&& aSteps);
// One file per step, where the template puts it: {category} is the kind's folder (Tables, Indexes, ...);
// an index, constraint or foreign key is named "<table>.<name>". Paths that differ only in letter case get
// "~2", "~3", ... after the name, in apply order. The drops of --clean go into one file, "Clean.sql".
std::vector<TRecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& aSteps,
                                               const CNameTemplate& names);

// --create-database's script as the first file: "00-Database.sql", or with object files "Database.sql" at the
// top of the folder, beside "Clean.sql" (a name no object's file takes).
void AddDatabaseFile(std::vector<TRecreateFile>& aFiles, std::string strText, bool bObjectFiles);
// True for the path a folder's manifest gives that file.
bool IsDatabaseFile(std::string_view strPath);

// A file of rows per table, in the plan's order, named by the table alone: "NN-Data/<schema>.<table>.sql", or
// with a name template where it puts {category} Data; names that differ only in letter case get "~2", ....
// Both among the schema's files after the tables and before what comes after the rows.
void AddDataFiles(std::vector<TRecreateFile>& aFiles, std::vector<TDataStep> aSteps,
                  const CNameTemplate* pNames);

// Writes the files of rows under their temporary names; throws CModelError when they cannot be.
using TWriteDataFiles = std::function<void()>;

struct TFolderWritten {
    std::optional<std::string> strRefused; // the file the gate kept, which stopped the run
    bool bFailed = false;                  // a file an earlier export wrote could not be removed (told)
};

// Writes the files into strDir, then the manifest, after naming or, with bPrune, removing the files the
// earlier manifest listed that this run did not write. Every existing file is asked about first, through the
// gate, and the files of rows written next, before anything is replaced. Throws CModelError when a file
// cannot be written. A run that stops leaves no file of its own behind.
TFolderWritten WriteRecreateFiles(const std::string& strDir, const std::vector<TRecreateFile>& aFiles,
                                  CReplaceGate& gate, IExportObserver& observer,
                                  const TWriteDataFiles& writeData, bool bPrune);

// What takes a piece of the rows' text.
using TRowsSink = std::function<void(std::string_view)>;
// Writes the rows of a file of rows into the sink.
using TWriteFileRowsTo = std::function<void(const TDataFile&, const TRowsSink&)>;

// Writes every file's text, and the rows of each file of rows as they are read, one after another into the
// stream pStream (after its opening line and before its closing line, StreamSeal.h) or, without one, a file
// at strOutput that takes its name once whole, when the gate allows it (its folder is not made). Returns the
// file's name when the gate kept what was there. Throws CModelError.
std::optional<std::string> WriteRecreateStream(std::FILE* pStream, const std::string& strOutput,
                                               const std::vector<TRecreateFile>& aFiles, CReplaceGate& gate,
                                               IExportObserver& observer, const TWriteFileRowsTo& writeRows);
// The folder of the file strOutput names: "." for a file of the current folder.
std::string OutputFolder(const std::string& strOutput);
