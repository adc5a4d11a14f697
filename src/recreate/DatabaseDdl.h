// export --create-database: the script that makes the database the other files go into, with the source's
// collation and the options in which it differs from a new database, and switches to it.
#pragma once

#include "backend/DbBackend.h"

#include <string>
#include <string_view>
#include <vector>

// The source database's row and, where the server lists it, the model database's, whose options a new
// database takes.
inline constexpr std::string_view kDatabaseOptions =
    "SELECT CASE WHEN database_id = DB_ID() THEN 1 ELSE 0 END AS is_source, "
    "CAST(collation_name AS nvarchar(128)) AS collation_name, is_ansi_null_default_on, is_ansi_nulls_on, "
    "is_ansi_padding_on, is_ansi_warnings_on, is_arithabort_on, is_concat_null_yields_null_on, "
    "is_numeric_roundabort_on, is_quoted_identifier_on, is_read_committed_snapshot_on, "
    "snapshot_isolation_state, CAST(recovery_model_desc AS nvarchar(60)) AS recovery_model_desc, "
    "compatibility_level FROM sys.databases WHERE database_id = DB_ID() OR name = N'model'";

struct TDatabaseSetting {
    std::string strOption; // as ALTER DATABASE ... SET names it
    std::string strValue;  // ON, OFF, a recovery model or a compatibility level
};

struct TDatabaseSettings {
    std::string strCollation;                // empty when the server does not say
    std::vector<TDatabaseSetting> aSettings; // only those in which the source differs from a new database
};

// Reads the source's settings. Throws CModelError (ReadCatalog) when they cannot be read.
TDatabaseSettings ReadDatabaseSettings(CDbConnection& db);

// CREATE DATABASE with the collation, an ALTER DATABASE for each setting and USE, each a batch of its own.
std::string CreateDatabaseScript(std::string_view strName, const TDatabaseSettings& settings);
