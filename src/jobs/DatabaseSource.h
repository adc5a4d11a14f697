// Where a job's catalog comes from, opened as the command-line host opens it: a server's connect string or a
// catalog snapshot, what the server answers recorded into a snapshot, and the time a login and a statement
// may take.
#pragma once

#include "backend/Database.h"
#include "scripts/JobNotice.h"

#include <optional>
#include <string>

struct TDatabaseSource {
    std::string strConnect;      // an ODBC connect string
    std::string strSnapshot;     // or a catalog snapshot's file
    std::string strSaveSnapshot; // also record every statement and its answer into this snapshot file
    std::optional<int> nTimeout; // seconds for the login (30 without it) and for each statement (no limit)

    // The backend's connect string: SNAPSHOT= for a snapshot, SAVE_SNAPSHOT= first for a recording.
    std::string ConnectString() const;
};

// Opens the connection; false after telling why, without the connect string's password. The folder of the
// recording is made, and what recordings that ended early left beside it goes; a snapshot whose recording was
// cut short is told, since it cannot answer what was asked after that.
bool OpenDatabase(CDatabase& db, const TDatabaseSource& source, IJobObserver& observer);

// The server a connect string names (SERVER=, else DSN=); empty where it names none.
std::string ServerOf(const std::string& strConnect);
