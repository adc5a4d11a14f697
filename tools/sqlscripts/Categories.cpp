#include "Categories.h"

#include <sstream>
#include <stdexcept>

const std::vector<std::string>& CategoryNames() {
    static const std::vector<std::string> names = {"defaults", "udt",     "tables", "pk",       "fk",
                                                   "fulltext", "schemas", "views",  "triggers", "procs",
                                                   "indexes",  "checks",  "udf"};
    return names;
}

std::optional<int> FindCategory(std::string_view name) {
    const std::vector<std::string>& names = CategoryNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return std::nullopt;
}

std::vector<int> ParseCategoryList(const std::string& list) {
    std::vector<int> categories;
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ',');) {
        if (name.empty())
            continue;
        const std::optional<int> category = FindCategory(name);
        if (!category)
            throw std::invalid_argument("unknown category '" + name + "'");
        categories.push_back(*category);
    }
    return categories;
}
