// export --recreate and object --recreate: the catalog model loaded in a few statements and scripted so that
// applying the files rebuilds every object as it is.
#pragma once

#include "Progress.h"
#include "backend/Database.h"

#include <functional>
#include <string>
#include <vector>

struct RecreateExportOptions {
    std::string dir;
    std::string only;
    std::string skip;
    bool parallel = false;
    bool objectFiles = false;
    std::string nameTemplate;
    Progress::Mode progress = Progress::Mode::Off;
    bool quiet = false;
    bool data = false;                   // the tables' rows too
    bool dataOnly = false;               // the rows alone, for a database that has the schema
    std::vector<std::string> dataTables; // SCHEMA.NAME patterns of the tables whose rows; all when empty
    int rowsPerInsert = 100;
};

// Opens the connection, saying why when it cannot.
using RecreateConnect = std::function<bool(CDatabase&)>;

// The exit status: 0 done, 1 failed (nothing written then, or a file refused), 2 an unknown kind in --only
// or --skip, 128 + the signal when interrupted.
int ExportRecreate(const RecreateExportOptions& options, const RecreateConnect& connect);
// Prints the faithful script of [SCHEMA.]NAME (brackets or double quotes delimit a part that holds a dot):
// a table with its keys, checks, defaults, indexes, foreign keys and properties; a view, procedure,
// function, trigger, type, sequence, synonym, schema, or a table's index, constraint or foreign key.
int PrintRecreateObject(const std::string& name, const RecreateConnect& connect);
