// What a CREATE statement makes, as apply looks for it in the scripts it runs: the kinds table's words, so
// that apply knows the objects a script makes without a list of its own.
#pragma once

#include "model/ModelKey.h"

#include <optional>
#include <string_view>

// The names that an object's name must differ from: schemas', types', or those of the schema-level objects.
enum class eNameSpace { None, Schemas, Types, Objects };

struct TCreateWord {
    std::string_view strWord;         // what follows CREATE, in capitals: "PROCEDURE"; empty for none
    std::string_view strAbbreviation; // the shorter word T-SQL takes for it: "PROC"; empty for none
    std::string_view strNoun;         // what apply's messages call the object: "type"
    eNameSpace eNames = eNameSpace::None;
    bool bWholeBatch = false; // what follows the name is the object's body, statements of its own included
};

// The kind that CREATE strWord (in capitals) makes, the first of the table where two share the word; none
// where apply looks for nothing it makes.
std::optional<eModelKind> CreatedKind(std::string_view strWord);
const TCreateWord& CreateWordOf(eModelKind eKind);
