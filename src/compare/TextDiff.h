// How one text became another, line by line, as a unified diff shows it: what a difference line cannot show
// of a module's definition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The hunks of a unified diff from strOld to strNew, nContext unchanged lines around each change: each line
// as the diff writes it ("@@ -3,4 +3,5 @@", " kept", "-removed", "+added"), without its line end. Lines end
// at LF, a CR before it left out. None where the texts have the same lines.
std::vector<std::string> UnifiedDiff(std::string_view strOld, std::string_view strNew, size_t nContext = 3);
