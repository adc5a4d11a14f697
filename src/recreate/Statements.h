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
    Own,    // a batch of its own, run as it is: what it makes cannot be named in the batch that makes it (an
            // XML schema collection)
};

struct TStatement {
    TStatement(std::string text, eBatchPlace place = eBatchPlace::Joins,
               std::optional<TSetOptions> options = std::nullopt)
        : strText(std::move(text)), ePlace(place), setOptions(options) {}
    // A statement whose text outlives it, held where it is: a module's definition, most of a catalog's text,
    // is not copied before it is written.
    static TStatement Borrowing(std::string_view text, eBatchPlace place,
                                std::optional<TSetOptions> options) {
        TStatement statement(std::string(), place, options);
        statement.strBorrowed = text;
        return statement;
    }

    std::string_view Text() const { return strBorrowed.data() ? strBorrowed : std::string_view(strText); }

    std::string strText; // its own text, without the line end after it; empty where it borrows one
    std::string_view strBorrowed;
    eBatchPlace ePlace = eBatchPlace::Joins;
    std::optional<TSetOptions> setOptions; // set before its batch; none: whatever the session has
};

using TStatements = std::vector<TStatement>;

// The statements as a script writes them, every batch after strPrologue (a line, or nothing). A statement
// that must be its batch's whole text runs through sp_executesql when a prologue comes before it. SET options
// that a statement left OFF are set ON again after the last, so that what follows runs as a fresh session
// would.
void AppendBatches(std::string& strScript, TStatements aStatements, std::string_view strPrologue = {});
std::string ScriptText(TStatements aStatements);
