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
#include <string>
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
    ERecreateCategory category;
    long objects = 0;
    std::shared_ptr<DataFile> data; // set for a file of rows, whose text is not held
};

// One file per category that has steps, named "NN-Category.sql" so that name order is apply order.
std::vector<RecreateFile> RecreateCategoryFiles(std::vector<TRecreateStep>&& steps);
// One file per step, where the template puts it: {category} is the kind's folder (Tables, Indexes, ...);
// an index, constraint or foreign key is named "<table>.<name>". Paths that differ only in letter case get
// "~2", "~3", ... after the name, in apply order.
std::vector<RecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& steps,
                                              const NameTemplate& nameTemplate);

// A file of rows per table, in the plan's order: "NN-Data/<n>-<schema>.<table>.sql" with n numbering them
// in that order, or with a name template where it puts {category} Data. Both among the schema's files after
// the tables and before what comes after the rows.
void AddDataFiles(std::vector<RecreateFile>& files, std::vector<TDataStep> steps,
                  const NameTemplate* nameTemplate);

// Progress names: the categories' file names ("06-Tables.sql", the folder "07-Data") or, with object files,
// their names.
std::vector<std::string> RecreateProgressNames(bool objectFiles);

// Writes the files of rows under their temporary names; false when the run is to stop, having said why.
using WriteDataFiles = std::function<bool()>;

// Writes the files into dir, then the manifest (manifest.txt: their paths in apply order). Every existing
// file is asked about first, through the gate, and the files of rows written next, before anything is
// replaced. False when the run stopped: refusedFile names the file the gate kept, or is empty after a
// failure, which is said on stderr.
bool WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files, ReplaceGate& gate,
                        Progress& progress, std::string& refusedFile, const WriteDataFiles& writeData = {});
