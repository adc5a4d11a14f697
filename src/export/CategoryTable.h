// The 13 object categories: dialog controls, default file names and generators, by index.
#pragma once

#include "scripts/SqlTypeObjects.h"

#include <array>
#include <memory>

class CSQLScript;

struct TCategory {
    eSqlTypeObjects eType;
    int nCheckBoxId;
    int nFileEditId;
    const char* pszDefaultFile;
};

extern const std::array<TCategory, SQL_CATEGORY_COUNT> g_aCategories;

// The generator of a category 0 to 12, null for other values. Tables are written as INSERTs into the
// product's table by the export, as plain CREATE TABLE for a single object.
enum class ETableForm { InsertScript, CreateTable };
std::unique_ptr<CSQLScript> CreateCategoryGenerator(int nCategory, BOOL bNoCollation, ETableForm eTableForm);

// Views, triggers, stored procedures and user functions: the categories whose objects are modules, which may
// use each other.
bool IsModuleCategory(int nCategory);
