// The rows of --data and --data-only as the database was at one moment: the catalog and every table are read
// in one transaction at SNAPSHOT isolation where the database allows it, so that a row never goes without
// the row it references because the two tables were read at different times. Such a transaction keeps the
// versions of the rows changed meanwhile until it ends, on the server, which the database option allows.
#pragma once

#include "backend/Database.h"
#include "scripts/JobNotice.h"

#include <optional>

enum class eMoment {
    One,         // every statement after this reads the database as it was at the first of them
    TableByTable // the database does not allow it: each table is read as it is when its turn comes
};

// Starts the transaction on the connection, or warns that the rows are read table by table; with bConsistent,
// a database that does not allow it stops the run instead. A replayed snapshot recorded without the question
// is read as it was recorded. None after telling why the run cannot go on.
std::optional<eMoment> BeginOneMoment(CDatabase& db, bool bConsistent, IJobObserver& observer);
