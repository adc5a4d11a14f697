// What --only and --skip name with --recreate: the kinds of objects it writes, by the words of the kinds
// table.
#pragma once

#include "recreate/RecreateKinds.h"
#include "recreate/RecreateSelection.h"

#include <optional>
#include <string>
#include <vector>

using RecreateKindSet = TRecreateKindSet;

// The words --only and --skip take with --recreate: "schemas", "types", ...
std::vector<std::string> RecreateKindNames();
// The kinds the lists leave to write (every kind without --only); throws std::invalid_argument naming a word
// that is not a kind, or when the lists leave none.
RecreateKindSet SelectedRecreateKinds(const std::optional<std::string>& only,
                                      const std::optional<std::string>& skip);
