// What the server a database is on takes of T-SQL beyond what every SQL Server since 2012 takes, asked of it.
#pragma once

#include "backend/Database.h"
#include "compare/Migration.h"

#include <optional>

// None when the source does not say: a catalog snapshot recorded without the question.
std::optional<TServerDialect> AskServerDialect(CDatabase& db);
