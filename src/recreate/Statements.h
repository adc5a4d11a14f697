// Statements as the writers make them, and the one place where they become text: batches, each ending with a
// line that holds GO, with the SET options a statement needs set in a batch before its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The session settings that a module keeps from the session that created it, and that its CREATE must be
// parsed under.
struct TSetOptions {
    bool bAnsiNulls = true;
    bool bQuotedIdentifier = true;

    bool operator==(const TSetOptions&) const = default;
};

// Where a statement stands among the batches of a script.
enum class eBatchPlace {
    Joins,  // in the batch of the statement before it
    Begins, // first in a batch: what follows must see what the batch before it did
    Alone,  // the whole text of its batch: T-SQL takes CREATE VIEW, PROCEDURE, FUNCTION and TRIGGER only so
};

struct TStatement {
    TStatement(std::string text, eBatchPlace place = eBatchPlace::Joins,
               std::optional<TSetOptions> options = std::nullopt)
        : strText(std::move(text)), ePlace(place), setOptions(options) {}

    std::string strText; // without the line end after it
    eBatchPlace ePlace = eBatchPlace::Joins;
    std::optional<TSetOptions> setOptions; // set before its batch; none: whatever the session has
};

using TStatements = std::vector<TStatement>;

// The statements as a script writes them, every batch after strPrologue (a line, or nothing). A statement
// that must be its batch's whole text runs through sp_executesql when a prologue comes before it. SET options
// that a statement left OFF are set ON again after the last, so that what follows runs as a fresh session
// would.
void AppendBatches(std::string& strScript, const TStatements& aStatements, std::string_view strPrologue = {});
std::string ScriptText(const TStatements& aStatements);
