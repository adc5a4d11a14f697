// The object categories and the result record of the single-object functions.
#pragma once

#include "platform/String.h"

enum eSqlTypeObjects : int {
    eSqlDefaults = 0,
    eSqlUdt = 1,
    eSqlTables = 2,
    eSqlPK = 3,
    eSqlFK = 4,
    eSqlFullText = 5,
    eSqlSchemas = 6,
    eSqlViews = 7,
    eSqlTriggers = 8,
    eSqlStoredProc = 9,
    eSqlIndexes = 10,
    eSqlChecks = 11,
    eSqlUdf = 12,
    eSqlUnknown = 13,
};

constexpr int SQL_CATEGORY_COUNT = 13;

struct TErrState {
    int nError = 0; // 0 success, 1 failure
    CString strMessage;
};
