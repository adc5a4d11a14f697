// The question whether to replace an existing file (--replace ask), asked on the terminal as the module's
// replace dialog asks it.
#pragma once

#include "Progress.h"
#include "scripts/ExportJobs.h"

#include <string>

// shown: how the question names the file; progress: the status line the question clears first, or null.
// End of input, and Ctrl-C, answer "Cancel".
eReplaceAnswer AskToReplace(const std::string& shown, Progress* progress);
