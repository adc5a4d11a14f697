// sqlscripts apply: runs scripts against a database, batch by batch, in the order a folder's manifest lists
// them; stops at the first refusal (or goes on with --continue), in one transaction with
// --single-transaction, and loads the rows on several connections with --jobs.
#pragma once

#include "Options.h"
#include "backend/Database.h"

#include <functional>

// Opens a connection to the database of --connect; false after saying why it could not.
using ApplyConnect = std::function<bool(CDatabase&)>;

// connectString: what --connect said, refused when it is a mistyped path.
int RunApply(const ApplyOptions& options, const std::string& connectString, const ApplyConnect& connect);
