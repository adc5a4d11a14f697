// sqlscripts diff FROM TO: the two catalogs compared, their differences listed in the order a migration
// applies them, and the migration written.
#pragma once

#include "Options.h"

// The exit status as diff(1) has it: 0 the catalogs describe alike, 1 they differ, 2 after a usage error or a
// failure (said in one line).
int RunDiff(const DiffOptions& options);
