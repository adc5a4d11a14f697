// What a CREATE statement makes, as apply looks for it in the scripts it runs: the kinds table's words, so
// that apply knows the objects a script makes without a list of its own.
#pragma once

#include "model/ModelKey.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The names that an object's name must differ from: schemas', types', or those of the schema-level objects.
enum class eNameSpace { None, Schemas, Types, Objects };

struct TCreateWord {
    std::string_view
        strWord; // what follows CREATE, in capitals, words apart by a blank: "PROCEDURE"; empty for none
    std::string_view strAbbreviation; // the shorter word T-SQL takes for it: "PROC"; empty for none
    std::string_view strNoun;         // what apply's messages call the object: "type"
    eNameSpace eNames = eNameSpace::None;
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
