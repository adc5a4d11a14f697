// The table of kinds: everything the faithful scripts, a comparison, a migration and apply know about a kind
// of object, one row each. Adding a kind is a row here, a family of the model and a writer.
#pragma once

#include "recreate/ChangeRules.h"
#include "recreate/CreateWords.h"
#include "recreate/KindProperties.h"
#include "recreate/RecreatePlan.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TDdlContext;

// What uses an object, made again with it when it is dropped: what T-SQL does not let it be dropped under.
enum class eUsersMadeAgain {
    None,
    ForeignKeys, // the foreign keys that reference the key or unique index
    Modules,     // its triggers, and the views and functions that cannot run without it: T-SQL (schema-bound)
                 // or the server binds them to its shape
    All,         // everything that uses it: modules, parameters, defaults, checks, computed columns and the
                 // columns of its type
};

struct TRecreateKind {
    eModelKind eKind;
    std::string_view strName;    // one object of the kind, as a message names it: "alias type"
    std::string_view strWord;    // the kinds --only and --skip take: "types"
    std::string_view strFolder;  // the folder of its files when each object has a file of its own
    std::string_view strSqlWord; // what T-SQL calls it in DROP and in an extended property's levels: "TABLE"
    eRecreateSection eSection;   // the section its steps start in, the file they go into by section
    int nPriority;               // steps of one section come in this order of their kinds, then by name
    bool bSchemaObject; // an object of its own, of its schema or the database's, that others may name; not a
                        // table's part
    bool bMadeWithTables; // part of a table's or type's definition: what it uses comes before the tables
    void (*pfnCollect)(CPlanBuilder& builder, eModelKind eKind); // a step for each object of the kind
    void (*pfnNeeds)(CPlanBuilder& builder, size_t nStep);       // what a step of the kind needs first
    TStatements (*pfnCreate)(TDdlObject object, const TDdlContext& context);
    TStatements (*pfnDrop)(TDdlObject object, const TDdlContext& context);
    // Compared, in the order lines show them; none for a kind that is not compared.
    std::span<const TKindProperty> aProperties;
    // What a change of a property does, in the order they decide (ChangeRules.h).
    std::span<const TKindRule> aRules;
    eUsersMadeAgain eUsersAgain;
    std::string_view strHolds; // what dropping an object loses ("rows", "values"); empty for nothing
    TCreateWord create;        // the CREATE that apply looks for
};

const std::array<TRecreateKind, MODEL_KIND_COUNT>& RecreateKinds();
const TRecreateKind& RecreateKind(eModelKind eKind);

// The words --only and --skip take, in the table's order, each once.
std::vector<std::string_view> RecreateKindWords();
