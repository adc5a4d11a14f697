// The --data-tables patterns as a job takes them: each as written, for the notice that names it, and what
// it matches.
#pragma once

#include "recreate/DataPlan.h"
#include "scripts/JobNotice.h"

#include <string>
#include <vector>

struct TTablePatternText {
    std::string strText;
    TTablePattern match;
};

std::vector<TTablePatternText> TablePatterns(const std::vector<std::string>& aTexts);
std::vector<TTablePattern> TableMatches(const std::vector<TTablePatternText>& aPatterns);
bool MatchesAny(const TModelTable& table, const std::vector<TTablePatternText>& aPatterns);

// A pattern that matches no table of any of the models is a mistake in it, or the wrong database: the run
// stops, naming them all (UnmatchedTablePatterns of eOption).
bool EveryTablePatternMatches(const std::vector<const TCatalogModel*>& aModels,
                              const std::vector<TTablePatternText>& aPatterns, eJobOption eOption,
                              IJobObserver& observer);
