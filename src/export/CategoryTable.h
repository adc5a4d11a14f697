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

// The generator that the export uses for the category (Tables: the INSERT form).
std::unique_ptr<CSQLScript> CreateExportGenerator(int nCategory, BOOL bNoCollation);
