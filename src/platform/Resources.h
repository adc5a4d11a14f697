// Lookup of the module's string resources (defined in src/resources/).
#pragma once

#include "platform/AfxTypes.h"

// The text of string resource nID, or null when the module has none.
const char* AfxFindStringResource(UINT nID);
