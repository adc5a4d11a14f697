// export --recreate: the faithful script's steps as files in apply order, and the folder's manifest listing
// them.
#pragma once

#include "ObjectFiles.h"
#include "Progress.h"
#include "ReplaceGate.h"
#include "platform/File.h"
#include "recreate/DataPlan.h"
#include "recreate/RecreateScript.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A table's rows: too many to hold, so written into the file's place under a temporary name before the run
// writes any file, and put in place in their turn.
struct DataFile {
    TDataStep step;
    std::unique_ptr<CFileReplacement> written;
};

struct RecreateFile {
    std::string path; // relative to the output folder, '/'-separated
    std::string text;
    eRecreateSection section;
    long objects = 0;
    std::shared_ptr<DataFile> data; // set for a file of rows, whose text is not held
};

// One file per section that has steps, named "NN-Section.sql" so that name order is apply order; the drops of
// --clean are "00-Clean.sql".
std::vector<RecreateFile> RecreateSectionFiles(std::vector<TRecreateStep>&& steps);
// One file per step, where the template puts it: {category} is the kind's folder (Tables, Indexes, ...);
// an index, constraint or foreign key is named "<table>.<name>". Paths that differ only in letter case get
// "~2", "~3", ... after the name, in apply order. The drops of --clean go into one file, "Clean.sql".
std::vector<RecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& steps,
                                              const NameTemplate& nameTemplate);

// --create-database's script as the first file: "00-Database.sql", or with object files "Database.sql" at the
// top of the folder, beside "Clean.sql" (a name no object's file takes).
void AddDatabaseFile(std::vector<RecreateFile>& files, std::string text, bool objectFiles);

// A file of rows per table, in the plan's order, named by the table alone: "NN-Data/<schema>.<table>.sql", or
// with a name template where it puts {category} Data; names that differ only in letter case get "~2", ....
// Both among the schema's files after the tables and before what comes after the rows.
void AddDataFiles(std::vector<RecreateFile>& files, std::vector<TDataStep> steps,
                  const NameTemplate* nameTemplate);

// Progress names, by section: the sections' file names ("06-Tables.sql", the folder "07-Data") or, with
// object files, their names.
std::vector<std::string> RecreateProgressNames(bool objectFiles);

// Writes the files of rows under their temporary names; throws CModelError when they cannot be.
using WriteDataFiles = std::function<void()>;

struct FolderWritten {
    std::optional<std::string> refused; // the file the gate kept, which stopped the run
    bool failed = false;                // a file an earlier export wrote could not be removed (said)
};

// Writes the files into dir, then the manifest (manifest.txt: their paths in apply order), after naming or,
// with prune, removing the files the earlier manifest listed that this run did not write. Every existing file
// is asked about first, through the gate, and the files of rows written next, before anything is replaced.
// Throws CModelError when a file cannot be written. A run that stops leaves no file of its own behind.
FolderWritten WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files,
                                 ReplaceGate& gate, Progress& progress, const WriteDataFiles& writeData,
                                 bool prune);

// What takes a piece of the rows' text.
using RowsSink = std::function<void(std::string_view)>;
// Writes the rows of a file of rows into the sink.
using WriteFileRowsTo = std::function<void(const DataFile&, const RowsSink&)>;

// Writes every file's text, and the rows of each file of rows as they are read, one after another into
// output: standard output for "-", else a file that takes its name once whole, when the gate allows it (its
// folder is not made). Returns the file's name when the gate kept what was there. Throws CModelError.
std::optional<std::string> WriteRecreateStream(const std::string& output,
                                               const std::vector<RecreateFile>& files, ReplaceGate& gate,
                                               Progress& progress, const WriteFileRowsTo& writeRows);
// The folder of the file output names: "." for a file of the current folder.
std::string OutputFolder(const std::string& output);

// Runs work, which writes the file at path: what the file layer throws becomes CModelError naming the file.
void WritingFile(const std::string& path, const std::function<void()>& work);
