#include "Categories.h"

#include "platform/Text.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

constexpr std::pair<eSqlTypeObjects, const char*> kNames[] = {
    {eSqlDefaults, "defaults"},
    {eSqlUdt, "udt"},
    {eSqlTables, "tables"},
    {eSqlPK, "pk"},
    {eSqlFK, "fk"},
    {eSqlFullText, "fulltext"},
    {eSqlSchemas, "schemas"},
    {eSqlViews, "views"},
    {eSqlTriggers, "triggers"},
    {eSqlStoredProc, "procs"},
    {eSqlIndexes, "indexes"},
    {eSqlChecks, "checks"},
    {eSqlUdf, "udf"},
};
static_assert(std::size(kNames) == SQL_CATEGORY_COUNT);

} // namespace

const std::vector<std::string>& CategoryNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> byIndex(SQL_CATEGORY_COUNT);
        for (const auto& [category, name] : kNames)
            byIndex[static_cast<size_t>(category)] = name;
        return byIndex;
    }();
    return names;
}

const std::string& CategoryName(int category) {
    return CategoryNames()[static_cast<size_t>(category)];
}

std::optional<int> FindCategory(std::string_view name) {
    const std::vector<std::string>& names = CategoryNames();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? std::nullopt : std::optional(static_cast<int>(it - names.begin()));
}

std::vector<int> AllCategories() {
    std::vector<int> categories(SQL_CATEGORY_COUNT);
    for (int category = 0; category < SQL_CATEGORY_COUNT; ++category)
        categories[static_cast<size_t>(category)] = category;
    return categories;
}

std::string JoinCategoryNames(const std::vector<int>& categories) {
    std::vector<std::string> names;
    for (const int category : categories)
        names.push_back(CategoryName(category));
    return JoinText(names);
}

std::vector<int> ParseCategoryList(const std::string& list) {
    std::vector<int> categories;
    for (const std::string& name : SplitList(list)) {
        const std::optional<int> category = FindCategory(name);
        if (!category)
            throw std::invalid_argument(name);
        categories.push_back(*category);
    }
    return categories;
}
