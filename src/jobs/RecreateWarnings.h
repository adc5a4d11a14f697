// What the faithful scripts of a selection cannot carry over, or carry over otherwise than asked, as
// warnings.
#pragma once

#include "backend/Database.h"
#include "recreate/RecreatePlan.h"
#include "recreate/RecreateSelection.h"
#include "scripts/JobNotice.h"

#include <vector>

// What the census found that the scripts do not carry, a record a kind; false when bStrict makes them stop
// the run. With strObject ("dbo.Orders"), only that object and its parts.
bool WarnUncarried(const TCatalogModel& model, bool bStrict, IJobObserver& observer,
                   const std::string& strObject = {});
// The families of the catalog model that a snapshot recorded by an earlier version holds no statement of,
// read as empty: each once.
void WarnUnrecordedFamilies(CDatabase& db, const TCatalogModel& model, IJobObserver& observer);
// Users of a form the scripts do not write, permissions on securables they cannot name, and application roles
// written with a new password; only for what the selection writes.
void WarnSecurity(const TCatalogModel& model, const TRecreatePlan& plan, const std::vector<bool>& aSelected,
                  IJobObserver& observer);
// What the objects written need that the selection leaves out.
void WarnLeftOut(const TRecreatePlan& plan, const TStepSelection& selection, IJobObserver& observer);
// Modules renamed with sp_rename: their scripts create the old names.
void WarnRenamed(const TRecreatePlan& plan, const std::vector<bool>& aSelected, const CNameMatcher& matcher,
                 IJobObserver& observer);
// The cycles among the steps written: one that the kinds leave out is not the caller's concern.
void WarnCycles(const TRecreateScript& script, IJobObserver& observer);
