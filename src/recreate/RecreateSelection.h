// Which steps of the plan an export writes: the kinds --only and --skip leave, and the objects that patterns
// of their names include and exclude; and those steps scripted, after the statements that drop what they
// create where it exists (--clean).
#pragma once

#include "recreate/NamePattern.h"
#include "recreate/RecreatePlan.h"

#include <array>
#include <string>
#include <vector>

enum class eNamePatternList { Schemas, ExcludedSchemas, Objects, ExcludedObjects };

// Patterns with * for any run of characters. A schema's patterns pick the schema and everything in it; an
// object's, SCHEMA.NAME (NAME alone: in any schema), pick the object and, for a table, its parts and
// triggers; a schema comes with the objects picked in it. Properties go with what they are on; those of the
// database itself are in no schema and no object.
struct TNamePatterns {
    std::vector<std::string> aSchemas; // none: every schema
    std::vector<std::string> aExcludedSchemas;
    std::vector<std::string> aObjects; // none: every object
    std::vector<std::string> aExcludedObjects;

    const std::vector<std::string>& List(eNamePatternList eList) const;
};

struct TUnmatchedPattern {
    eNamePatternList eList;
    std::string strPattern;
};

struct TStepSelection {
    std::vector<bool> aPicked;   // by step: the patterns pick it
    std::vector<bool> aSelected; // by step: picked, and of a kind the kinds leave
    // Steps that selected ones need, of a kind the kinds leave, which the patterns do not pick: in apply
    // order.
    std::vector<size_t> aLeftOut;
    std::vector<TUnmatchedPattern> aUnmatched; // patterns that match no step
};

using TRecreateKindSet = std::array<bool, MODEL_KIND_COUNT>;

TStepSelection SelectSteps(const TRecreatePlan& plan, const TRecreateKindSet& aKinds,
                           const TNamePatterns& patterns, const CNameMatcher& matcher);

// The selected steps' scripts in apply order; with bClean first what they create dropped where it exists,
// foreign keys first, then the rest in reverse apply order (section Clean).
TRecreateScript ScriptSelectedSteps(const TCatalogModel& model, const TRecreatePlan& plan,
                                    const std::vector<bool>& aSelected, bool bClean);
