// The name a module's stored text creates. sp_rename changes a module's name but not its text, so a renamed
// module's script makes the old name again.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/NamePattern.h"

#include <optional>
#include <string>

struct TCreatedName {
    std::string strSchema; // empty when the text gives none
    std::string strName;
};

// The name after CREATE [OR ALTER] VIEW|PROC|PROCEDURE|FUNCTION|TRIGGER where it is not the module's own;
// none where it is, or where the text does not start so.
std::optional<TCreatedName> CreatedOtherName(const TModelModule& module, const CNameMatcher& matcher);
