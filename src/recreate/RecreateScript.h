// Faithful scripts from the catalog model: the statements that rebuild each object as it is, in an order
// that applies on an empty database.
#pragma once

// A relative path: the library installs this header for programs.
#include "../model/CatalogModel.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The parts of an apply, in apply order. A category holds what its name says, and also what must follow
// something of a later category (a check calling a function that reads a table comes after that function).
enum class ERecreateCategory : int {
    Schemas,
    Types,
    Sequences,
    Synonyms,
    TableFunctions, // functions, and what they use, that computed columns, checks and defaults call
    Tables,
    Data,        // the tables' rows (export --data), before what would check or slow their loading
    Constraints, // checks, and defaults that call a function made after their table
    Indexes,
    ForeignKeys,
    ViewsAndFunctions,
    Procedures,
    Triggers,
    ExtendedProperties,
};
constexpr size_t RECREATE_CATEGORY_COUNT = 14;

// What a step creates.
enum class ERecreateKind : int {
    Schema,
    Type,
    Sequence,
    Synonym,
    Table,
    Constraint,
    Index,
    ForeignKey,
    View,
    Function,
    Procedure,
    Trigger,
    ExtendedProperties,
};
constexpr size_t RECREATE_KIND_COUNT = 13;

// The category's name as files are named ("Tables"), and the kind's plural ("Tables", "Indexes").
std::string_view RecreateCategoryName(ERecreateCategory eCategory);
std::string_view RecreateKindName(ERecreateKind eKind);

struct TRecreateStep {
    ERecreateCategory eCategory = ERecreateCategory::Schemas;
    ERecreateKind eKind = ERecreateKind::Schema;
    std::string strSchema; // empty for a schema
    std::string strName;   // the object's own name: a table's, a constraint's, an index's
    std::string strParent; // the table or view an index, constraint, trigger or property set belongs to
    std::string strText;   // batches, each ending with a line that holds GO
};

struct TRecreateScript {
    std::vector<TRecreateStep> aSteps; // in apply order
    // Objects that use each other in a cycle that no order resolves, each cycle as "schema.name" items.
    std::vector<std::vector<std::string>> aCycles;
};

// The faithful script of every object of the model.
TRecreateScript ScriptCatalogModel(const TCatalogModel& model);
// The same from a model given up: its module definitions are let go as they are written, so a large
// catalog's texts are not held twice.
TRecreateScript ScriptCatalogModel(TCatalogModel&& model);
