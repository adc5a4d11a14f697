// What a CREATE statement makes, as apply looks for it in the scripts it runs: the kinds table's words, so
// that apply knows the objects a script makes without a list of its own.
#pragma once

#include "model/CatalogModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TCreateWord {
    std::string_view
        strWord; // what follows CREATE, in capitals, words apart by a blank: "PROCEDURE"; empty for none
    std::string_view strAbbreviation; // the shorter word T-SQL takes for it: "PROC"; empty for none
    std::string_view strNoun;         // what apply's messages call the object: "type"
    // The statement that lists the names an object's name must differ from, as rows of schema and name;
    // empty where apply looks for none.
    std::string_view strNames;
    bool bInSchema = false;   // a name written without its schema is in the user's default one
    bool bWholeBatch = false; // what follows the name is the object's body, statements of its own included
};

struct TCreatedKind {
    eModelKind eKind;
    size_t nWords; // of the words given, those that name the kind
};

// The kind that CREATE followed by the words (in capitals) makes, the first of the table where two share a
// word; none where apply looks for nothing it makes.
std::optional<TCreatedKind> CreatedKind(const std::vector<std::string>& aWords);
const TCreateWord& CreateWordOf(eModelKind eKind);
