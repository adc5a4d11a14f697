// export --recreate: the faithful script's steps as files in apply order, and the folder's manifest listing
// them.
#pragma once

#include "ObjectFiles.h"
#include "Progress.h"
#include "ReplaceGate.h"
#include "recreate/RecreateScript.h"

#include <string>
#include <vector>

struct RecreateFile {
    std::string path; // relative to the output folder, '/'-separated
    std::string text;
    ERecreateCategory category;
    long objects = 0;
};

// One file per category that has steps, named "NN-Category.sql" so that name order is apply order.
std::vector<RecreateFile> RecreateCategoryFiles(std::vector<TRecreateStep>&& steps);
// One file per step, where the template puts it: {category} is the kind's folder (Tables, Indexes, ...);
// an index, constraint or foreign key is named "<table>.<name>". Paths that differ only in letter case get
// "~2", "~3", ... after the name, in apply order.
std::vector<RecreateFile> RecreateObjectFiles(std::vector<TRecreateStep>&& steps,
                                              const NameTemplate& nameTemplate);

// Progress names: the categories' file names ("06-Tables.sql") or, with object files, their names.
std::vector<std::string> RecreateProgressNames(bool objectFiles);

// Writes the files into dir, then the manifest (manifest.txt: their paths in apply order). Every existing
// file is asked about first, through the gate, before anything is written. False when the run stopped:
// refusedFile names the file the gate kept, or is empty after a write failure, which is said on stderr.
bool WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files, ReplaceGate& gate,
                        Progress& progress, std::string& refusedFile);
