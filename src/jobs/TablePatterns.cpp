#include "jobs/TablePatterns.h"

#include "jobs/ObjectName.h"

#include <algorithm>

std::vector<TTablePatternText> TablePatterns(const std::vector<std::string>& aTexts) {
    std::vector<TTablePatternText> aPatterns;
    for (const std::string& strText : aTexts) {
        const TObjectName name = ParseObjectName(strText);
        aPatterns.push_back({strText, {name.strSchema, name.strName}});
    }
    return aPatterns;
}

std::vector<TTablePattern> TableMatches(const std::vector<TTablePatternText>& aPatterns) {
    std::vector<TTablePattern> aMatches;
    for (const TTablePatternText& pattern : aPatterns)
        aMatches.push_back(pattern.match);
    return aMatches;
}

bool MatchesAny(const TModelTable& table, const std::vector<TTablePatternText>& aPatterns) {
    return std::any_of(aPatterns.begin(), aPatterns.end(), [&table](const TTablePatternText& pattern) {
        return MatchesTablePattern(table.strSchema, table.strName, pattern.match);
    });
}

bool EveryTablePatternMatches(const std::vector<const TCatalogModel*>& aModels,
                              const std::vector<TTablePatternText>& aPatterns, eJobOption eOption,
                              IJobObserver& observer) {
    TJobNotice notice{eJobNotice::UnmatchedTablePatterns};
    notice.eOption = eOption;
    for (const TTablePatternText& pattern : aPatterns) {
        const bool bMatched =
            std::any_of(aModels.begin(), aModels.end(), [&pattern](const TCatalogModel* pModel) {
                return std::any_of(
                    pModel->aTables.begin(), pModel->aTables.end(), [&pattern](const TModelTable& table) {
                        return MatchesTablePattern(table.strSchema, table.strName, pattern.match);
                    });
            });
        if (!bMatched)
            notice.aNames.push_back(pattern.strText);
    }
    if (!notice.aNames.empty())
        observer.OnNotice(notice);
    return notice.aNames.empty();
}
