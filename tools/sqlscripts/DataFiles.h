// export --data and --data-only: each table's rows streamed from the server into its file, under a temporary
// name until the whole run has succeeded.
#pragma once

#include "Progress.h"
#include "RecreateFiles.h"
#include "backend/Database.h"

#include <string>
#include <vector>

// Checks that every column of the tables the files hold rows of has a type whose values can be written
// back; false after naming the first that has not.
bool CanWriteRows(const std::vector<RecreateFile>& files);

// Writes the rows of each file of rows into dir under its temporary name, counting the tables on the progress
// (which says them written when they are put in place); false after one line naming the table and what
// failed, with every file as it was. An interruption (Ctrl-C, SIGTERM) stops it too.
bool WriteRows(CDatabase& db, const std::string& dir, const std::vector<RecreateFile>& files,
               const TDataOptions& options, Progress& progress);
