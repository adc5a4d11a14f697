// Names that the connection could not carry (NameDamage.h): the module looks such an object up under a name
// it does not have, and the model's scripts would create it under that name.
#pragma once

#include "recreate/RecreatePlan.h"
#include "scripts/JobNotice.h"

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The objects of the module's export run whose names may have lost characters.
class CDamagedNames {
public:
    // Keeps the object when its schema or name holds such a character. Called from the run's workers.
    void Note(int nCategory, const char* pszSchema, const char* pszName, const std::string& strText);
    // The record naming those objects, by category; none when every name came whole. A '?' may belong to a
    // name: names are taken for damaged only once the run has found nothing under one of them.
    std::optional<TJobNotice> Notice(const std::string& strConnect) const;

private:
    mutable std::mutex m_mutex;
    std::vector<TJobItem> m_aObjects; // category, "schema.name"
    bool m_bFoundNothing = false;
};

// The record naming the model's objects and columns whose names may have lost characters (a server that could
// not say them even as nvarchar, or a connection without UTF-8); none when every name came whole. The
// objects are those of the schema that the kinds table makes steps of.
std::optional<TJobNotice> DamagedModelNames(const TCatalogModel& model, const TRecreatePlan& plan,
                                            const std::string& strConnect);
