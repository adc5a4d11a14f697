// The connection a command works on: opened with the timeouts asked for and the recording of a snapshot made
// ready, and whether the module's export prefetches the catalog.
#pragma once

#include "Options.h"
#include "backend/Database.h"

#include <optional>
#include <string>

// Opens the connection; on failure says why in one line, without the connect string's password. A snapshot
// whose recording was cut short is named, since it cannot answer what was asked after that.
bool Connect(CDatabase& db, const Source& source);

struct PrefetchChoice {
    bool prefetch = false;
    // A snapshot recorded with prefetch holds few of the statements sent one per object: the first one
    // missing ends the run with one line rather than a failure in every category.
    bool stopAtFirstFailure = false;
};

// Connects for the module's export, and chooses: prefetch for a server unless --no-prefetch; a snapshot
// replays with the statements it holds, and asking for the kind it lacks is said in one line. None when the
// run cannot go on.
std::optional<PrefetchChoice> ConnectForExport(CDatabase& db, const Source& source, Prefetch choice);
