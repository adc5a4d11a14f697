// A migration's differences and refusals as records, and their two renderings beside the script: a line
// each, and JSON for programs.
#pragma once

#include "compare/Migration.h"
#include "scripts/DiffJob.h"

#include <string>
#include <string_view>
#include <vector>

// The kind of a difference in a table's rows.
inline constexpr std::string_view kRowKind = "row";

// Every difference, a changed object once per property that differs.
std::vector<TDiffEntry> DiffEntries(const std::vector<TMigrationItem>& aItems);
// "- kind name", "- kept: kind name", "+ kind name", "~ kind name: property old -> new" (the values left out
// where one is too long or has several lines), each ending in a line feed; with bTextDiffs, under a text
// left out, the unified diff of it, indented.
std::string DiffLines(const std::vector<TDiffEntry>& aEntries, bool bTextDiffs);
// {"differences": [...]} and, where there are any, "refusals".
std::string DiffJson(const std::vector<TDiffEntry>& aEntries, const std::vector<TRefusal>& aRefusals);
// A refusal's record: what it names, why, and the option that allows it.
TJobNotice RefusalNotice(const TRefusal& refusal);
// The record of a loss --allow-data-loss allows, a warning with the refusal's fields.
TJobNotice LossNotice(const TRefusal& loss);
