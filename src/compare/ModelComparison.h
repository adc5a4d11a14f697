// Two catalog models compared object by object: what only one of them holds, and which properties of the
// objects both hold differ. Objects are matched by kind, schema and name (and their table, or what a
// property is on), without regard to case as SQL Server's usual collations compare names; never by catalog
// id, which differs between databases. Which properties a kind has is the kinds table's business.
#pragma once

#include "recreate/KindProperties.h"
#include "recreate/RecreatePlan.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CRenames;

// An object of one model as the comparison sees it: a record of the model, or a table's column or key, or
// one extended property.
struct TCompareObject {
    TModelKey key;        // a property's: the kind Property, its target's schema and name, its own name
    std::string strName;  // as a difference line names it: "dbo.Orders.Amount"
    std::string strMatch; // what it is matched by in the other model
    TPlanObject object;   // the record (a table part with its table)
};

enum class eDiffChange { Added, Removed, Changed };

struct TPropertyChange {
    const TKindProperty* pProperty = nullptr; // of the kinds table
    std::string strOld;
    std::string strNew;
};

struct TModelDifference {
    eDiffChange eChange = eDiffChange::Changed;
    const TCompareObject* pFrom = nullptr; // null for an object only TO has
    const TCompareObject* pTo = nullptr;   // null for an object only FROM has
    std::vector<TPropertyChange> aChanges; // the properties that differ, for a changed object

    const TCompareObject& Object() const { return pTo ? *pTo : *pFrom; }
};

// The objects of a model, of the plan's steps. The model must outlive them. FROM's are matched under the
// names TO gives the objects pRenames renames.
std::vector<TCompareObject> CompareObjects(const TCatalogModel& model, const TRecreatePlan& plan,
                                           const CRenames* pRenames = nullptr);
// A model's objects by their match keys (the first of a key where two share it), viewing the objects' own.
using TObjectIndex = std::unordered_map<std::string_view, const TCompareObject*>;
TObjectIndex IndexObjects(const std::vector<TCompareObject>& aObjects);

// One model as the comparison reads it: its objects, and the model their values are shown in.
struct TCompareSide {
    const TCatalogModel& model;
    const std::vector<TCompareObject>& aObjects;
    const TObjectIndex& mapObjects;
};

// The objects of each model that the other lacks, and the objects both hold whose properties differ: in the
// order of TO's objects, then FROM's.
std::vector<TModelDifference> CompareModels(const TCompareSide& from, const TCompareSide& to);
