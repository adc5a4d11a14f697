// diff's --rename options: read as the user typed them, and checked against both sides once they are loaded.
#pragma once

#include "compare/Renames.h"
#include "scripts/DiffJob.h"

#include <optional>
#include <vector>

// The renames of the options, or the record of the first whose text names no table or column (misuse).
struct TParsedRenames {
    std::vector<TRename> aRenames;
    std::optional<TJobNotice> misuse;
};

TParsedRenames ParseRenames(const std::vector<TDiffRename>& aOptions);
// The record of the option the check found at fault (misuse); none where there is none.
std::optional<TJobNotice> RenameMisuse(const TRenameCheck& check, const std::vector<TDiffRename>& aOptions);
