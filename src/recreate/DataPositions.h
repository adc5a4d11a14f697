// Where identity columns and sequences stand in the original: a copy made with the rows has to go on from
// there, or it hands out again values the original gave rows since deleted. Read in the rows' transaction, so
// that positions and rows are of one moment.
#pragma once

#include "backend/DbBackend.h"
#include "model/CatalogModel.h"
#include "recreate/DataPlan.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

using TPositionKey = std::pair<std::string, std::string>; // schema, name

struct TDataPositions {
    std::map<TPositionKey, TIdentityPosition> mapIdentities; // by table; a table that handed out none absent
    std::map<TPositionKey, std::string> mapSequences; // the last value plus the increment; unused absent
    // The sequences' positions are not known: the server has no sys.sequences, or refused to say (its
    // words in strSequencesRefused, as a server before last_used_value does).
    bool bSequencesUnknown = false;
    std::string strSequencesRefused;
};

inline constexpr std::string_view kIdentityPositions =
    "SELECT OBJECT_SCHEMA_NAME(object_id) AS schema_name, OBJECT_NAME(object_id) AS table_name, "
    "CONVERT(nvarchar(40), last_value) AS last_value, "
    "CONVERT(nvarchar(40), CAST(last_value AS decimal(38, 0)) + CAST(increment_value AS decimal(38, 0))) "
    "AS next_value FROM sys.identity_columns WHERE last_value IS NOT NULL";
inline constexpr std::string_view kSequencePositions =
    "SELECT OBJECT_SCHEMA_NAME(object_id) AS schema_name, name, CONVERT(nvarchar(40), last_used_value) AS "
    "last_used_value, CONVERT(nvarchar(40), CAST(last_used_value AS decimal(38, 0)) + CAST(increment AS "
    "decimal(38, 0))) AS next_value FROM sys.sequences WHERE last_used_value IS NOT NULL";

// Reads the positions of the model's identity columns and sequences. A replayed snapshot recorded without
// the statements has none. Throws CModelError (ReadCatalog) when the identity columns' positions cannot be
// read.
TDataPositions ReadDataPositions(CDbConnection& db, const TCatalogModel& model);

// Each identity table's position, for its rows' file to set after them.
void PlaceIdentities(std::vector<TDataStep>& aSteps, const TDataPositions& positions);

// Each used sequence starts with the next value it would hand out: past its range, where a cycling one starts
// again, and at the end of its range when it has none left.
void StartSequencesAtPositions(TCatalogModel& model, const TDataPositions& positions);

// -1, 0 or 1 as the integer a is less than, equal to or greater than b; both in decimal, a sign allowed.
int CompareIntegerText(std::string_view a, std::string_view b);
