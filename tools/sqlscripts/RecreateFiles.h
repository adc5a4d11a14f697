// export --recreate: the faithful script's steps as files in apply order, and the manifest that lists them.
#pragma once

#include "ObjectFiles.h"
#include "Progress.h"
#include "recreate/RecreateScript.h"

#include <string>
#include <vector>

constexpr const char* kManifestName = "manifest.txt";

struct RecreateFile {
    std::string path; // relative to the output folder, '/'-separated
    std::string text;
    ERecreateCategory category;
    long objects = 0;
};

// One file per category that has steps, named "NN-Category.sql" so that name order is apply order.
std::vector<RecreateFile> CategoryFiles(const std::vector<TRecreateStep>& steps);
// One file per step, where the template puts it: {category} is the kind's folder (Tables, Indexes, ...);
// an index, constraint or foreign key is named "<table>.<name>". Paths that differ only in letter case get
// "~2", "~3", ... after the name, in apply order.
std::vector<RecreateFile> ObjectFilesOf(const std::vector<TRecreateStep>& steps,
                                        const NameTemplate& nameTemplate);

// Progress names: the categories' file names ("06-Tables.sql") or, with object files, their names.
std::vector<std::string> RecreateProgressNames(bool objectFiles);

// Writes the files into dir, then the manifest (their paths in apply order, one a line, LF), each under a
// temporary name renamed when complete. Existing files are asked about first, through the host's replace
// question, before anything is written. False when the run stopped: refusedFile names the file a "no" kept,
// or is empty after a write failure, which is reported on stderr.
bool WriteRecreateFiles(const std::string& dir, const std::vector<RecreateFile>& files, Progress& progress,
                        std::string& refusedFile);
