// export --data and --data-only: each table's rows streamed from the server into its file, under a temporary
// name until the whole run has succeeded.
#pragma once

#include "Progress.h"
#include "RecreateFiles.h"
#include "backend/Database.h"

#include <string>
#include <vector>

// Checks that every column of the tables the files hold rows of has a type whose values can be written
// back; throws CModelError naming the first that has not.
void CheckRowTypes(const std::vector<RecreateFile>& files);

// Writes the rows of the file of rows into sink: the batches before them, the rows, the batches after. Throws
// CModelError naming the table and what failed, or path (what sink writes) for what sink throws and an
// interruption (Ctrl-C, SIGTERM).
void WriteFileRows(CDatabase& db, const DataFile& data, const TDataOptions& options, const RowsSink& sink,
                   const std::string& path);

// Writes the rows of each file of rows into dir under its temporary name, counting the tables on the progress
// (which says them written when they are put in place). Throws CModelError naming the table and what failed,
// also when an interruption (Ctrl-C, SIGTERM) stops it.
void WriteRows(CDatabase& db, const std::string& dir, const std::vector<RecreateFile>& files,
               const TDataOptions& options, Progress& progress);
