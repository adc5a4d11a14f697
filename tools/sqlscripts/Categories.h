// Category names on the command line, and the order in which a database takes the categories' scripts.
#pragma once

#include "scripts/SqlTypeObjects.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "defaults", "udt", "tables", ... by the module's category index.
const std::vector<std::string>& CategoryNames();
const std::string& CategoryName(int category);
std::optional<int> FindCategory(std::string_view name);
// Every category, in the module's order.
std::vector<int> AllCategories();
// "views, procs, ...".
std::string JoinCategoryNames(const std::vector<int>& categories);
// Categories of a comma-separated list; throws std::invalid_argument naming an unknown one.
std::vector<int> ParseCategoryList(const std::string& list);
