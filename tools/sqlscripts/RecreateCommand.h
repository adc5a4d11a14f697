// export --recreate and object --recreate: the catalog model loaded in a few statements and scripted so that
// applying the files rebuilds every object as it is.
#pragma once

#include "Options.h"
#include "Progress.h"
#include "backend/Database.h"

#include <functional>
#include <string>

// Opens the connection, saying why when it cannot.
using RecreateConnect = std::function<bool(CDatabase&)>;

// The exit status: 0 done; 1 failed (a catalog statement, before any file was written; a file refused or
// not written); 128 + the signal when interrupted.
int ExportRecreate(const ExportOptions& options, Progress::Mode progress, const RecreateConnect& connect);
// Prints the faithful script of [SCHEMA.]NAME (brackets or double quotes delimit a part that holds a dot):
// a table with its keys, checks, defaults, indexes, foreign keys and properties; a view, procedure,
// function, trigger, type, sequence, synonym, schema, or a table's check, default, index or foreign key.
int PrintRecreateObject(const std::string& name, const RecreateConnect& connect);
