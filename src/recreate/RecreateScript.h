// Faithful scripts from the catalog model: the statements that rebuild each object as it is, in an order
// that applies on an empty database.
#pragma once

// Relative paths: the library installs this header for programs.
#include "../model/CatalogModel.h"

#include <string>
#include <string_view>
#include <vector>

// The parts of an apply, in apply order: a file each when the steps go into files by section. A section holds
// what its name says, and also what must follow something of a later section (a check calling a function
// that reads a table comes after that function).
enum class eRecreateSection {
    Clean, // what the other sections create, dropped where it exists (export --clean)
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
    SecurityPolicies, // after the functions they call, and the rows, which an enabled policy would hide
    Procedures,
    Triggers,
    ExtendedProperties,
    Permissions,      // role members, owners and permissions: after everything they name
    FullText,         // its statements cannot run inside a transaction: a file of its own
    DatabaseTriggers, // last: they would fire on the scripts' own statements, full-text ones too
};

// "Tables"
std::string_view RecreateSectionName(eRecreateSection eSection);
// The section's file name without its end, numbered by its place among the sections, so that name order is
// apply order: "06-Tables".
std::string RecreateSectionFileName(eRecreateSection eSection);
// The folder of a kind's files when each object has a file of its own: "Tables", "Constraints", ...
std::string_view RecreateKindFolder(eModelKind eKind);

struct TRecreateStep {
    eRecreateSection eSection = eRecreateSection::Schemas;
    eModelKind eKind = eModelKind::Schema;
    std::string strSchema; // empty for a schema
    std::string strName;   // the object's own name: a table's, a constraint's, an index's
    std::string strParent; // the table or view an index, constraint or trigger belongs to
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
