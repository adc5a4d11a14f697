// Category names on the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "defaults", "udt", "tables", ... in category order (index 0 to 12).
const std::vector<std::string>& CategoryNames();
std::optional<int> FindCategory(std::string_view name);
// Categories of a comma-separated list; throws std::invalid_argument naming an unknown one.
std::vector<int> ParseCategoryList(const std::string& list);
