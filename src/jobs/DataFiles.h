// export --data and --data-only: each table's rows streamed from the server into its file, under a temporary
// name until the whole run has succeeded.
#pragma once

#include "backend/Database.h"
#include "jobs/RecreateFiles.h"

#include <string>
#include <vector>

// Checks that every column of the tables the files hold rows of has a type whose values can be written
// back; throws CModelError naming the first that has not.
void CheckRowTypes(const std::vector<TRecreateFile>& aFiles);

// Writes the rows of the file of rows into sink: the batches before them, the rows, the batches after. Throws
// CModelError naming the table and what failed, or strPath (what sink writes) for what sink throws and a stop
// the observer asks for.
void WriteFileRows(CDatabase& db, const TDataFile& data, const TDataOptions& options, const TRowsSink& sink,
                   const std::string& strPath, IJobObserver& observer);

// Writes the rows of each file of rows into strDir under its temporary name, counting the tables on the
// progress (which says them written when they are put in place). Throws CModelError naming the table and
// what failed, also when a stop stops it.
void WriteRows(CDatabase& db, const std::string& strDir, const std::vector<TRecreateFile>& aFiles,
               const TDataOptions& options, IExportObserver& observer);
