// What the scripts cannot carry over of a database's security, said as warnings.
#pragma once

#include "recreate/RecreatePlan.h"

#include <vector>

// Users of a form the scripts do not write, permissions on securables they cannot name, and application roles
// written with a new password; only for what the selection writes.
void WarnSecurity(const TCatalogModel& model, const TRecreatePlan& plan, const std::vector<bool>& selected);
