// sqlscripts export and object --recreate: the library's export jobs run with the host's progress, replace
// question and messages.
#pragma once

#include "Options.h"
#include "backend/Database.h"

#include <functional>
#include <string>

// Opens the connection, saying why when it cannot.
using HostConnect = std::function<bool(CDatabase&)>;

// The module's export into the folder, a file per category or per object. The exit status: 0 done; 1 failed;
// 128 + the signal when interrupted.
int RunExport(const Source& source, const ExportOptions& options);
// --recreate and --data-only: the faithful scripts and rows, into the folder or one stream.
int ExportRecreate(const ExportOptions& options, const HostConnect& connect);
// object --recreate: prints the faithful script of [SCHEMA.]NAME.
int PrintRecreateObject(const std::string& name, bool strict, LineEnds lineEnds, const HostConnect& connect);
