#include "recreate/CreatedName.h"

#include "scripting/SqlText.h"

#include <strings.h>

namespace {

bool IsWord(const TSqlName& name, const char* pszWord) {
    return name.bBare && name.strSchema.IsEmpty() && strcasecmp(name.strName.Str().c_str(), pszWord) == 0;
}

bool IsModuleWord(const TSqlName& name) {
    for (const char* pszWord : {"VIEW", "PROC", "PROCEDURE", "FUNCTION", "TRIGGER"})
        if (IsWord(name, pszWord))
            return true;
    return false;
}

} // namespace

std::optional<TCreatedName> CreatedOtherName(const TModelModule& module, const CNameMatcher& matcher) {
    // CREATE OR ALTER PROCEDURE name: the name is the fifth at most.
    const std::vector<TSqlName> aNames = FindSqlNames(module.strDefinition.c_str(), 5);
    size_t nAt = 0;
    if (aNames.empty() || !IsWord(aNames[nAt++], "CREATE"))
        return std::nullopt;
    if (nAt + 1 < aNames.size() && IsWord(aNames[nAt], "OR") && IsWord(aNames[nAt + 1], "ALTER"))
        nAt += 2;
    if (nAt + 1 >= aNames.size() || !IsModuleWord(aNames[nAt]))
        return std::nullopt;
    const std::string strSchema = aNames[nAt + 1].strSchema.Str();
    const std::string strName = aNames[nAt + 1].strName.Str();
    if (matcher.Same(strName, module.strName) &&
        (strSchema.empty() || matcher.Same(strSchema, module.strSchema)))
        return std::nullopt;
    return TCreatedName{strSchema, strName};
}
