// What the migration does with each difference, and in which order: drops in the reverse of FROM's apply
// order, then what is made or changed in TO's. What depends on an object that is dropped, made again or
// changed in place (a foreign key on a key made again, an index on a column whose type changes) is dropped
// first and made again from TO afterwards.
#include "compare/Migration.h"

#include "compare/MigrationText.h"
#include "platform/Unicode.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <future>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr size_t kAfterAll = static_cast<size_t>(-1) / 2;

// A table's own parts come after it, at its place: columns, then keys, then defaults written inline.
int SubPlace(eModelKind eKind) {
    switch (eKind) {
    case eModelKind::Column:
        return 1;
    case eModelKind::Key:
        return 2;
    case eModelKind::Default:
        return 3;
    default:
        return 0;
    }
}

using TPlace = std::pair<size_t, int>;

// Where objects come in a plan's apply order.
class CPlacement {
public:
    explicit CPlacement(const TRecreatePlan& plan) {
        for (size_t i = 0; i < plan.aOrder.size(); ++i)
            m_mapPlaces.emplace(plan.aSteps[plan.aOrder[i]].key, i);
    }

    TPlace Place(const TModelKey& key) const {
        if (key.eKind == eModelKind::Property)
            return {kAfterAll, 0};
        if (const auto it = m_mapPlaces.find(key); it != m_mapPlaces.end())
            return {it->second, 0};
        const auto table = m_mapPlaces.find({eModelKind::Table, key.strSchema, "", key.strTable});
        return {table == m_mapPlaces.end() ? kAfterAll : table->second, SubPlace(key.eKind)};
    }

private:
    std::unordered_map<TModelKey, size_t, TModelKeyHash> m_mapPlaces;
};

// The objects of their own schema that only FROM has stay unless the run drops them.
bool IsOwnObject(eModelKind eKind) {
    return eKind == eModelKind::Schema || RecreateKind(eKind).bSchemaObject;
}

template <typename T> const T& Part(const TCompareObject& object) {
    return *std::get<TTablePart<T>>(object.object).pPart;
}

// The table an object is or belongs to; null for anything else.
const TModelTable* TableOf(const TCompareObject& object) {
    return std::visit(
        [](const auto& record) -> const TModelTable* {
            using T = std::decay_t<decltype(record)>;
            if constexpr (std::is_same_v<T, const TModelTable*>)
                return record;
            else if constexpr (requires { record.pTable; })
                return record.pTable;
            else
                return nullptr;
        },
        object.object);
}

std::string Folded(const std::string& str) {
    return FoldCaseUtf8(str);
}

TModelKey TableKey(const TModelTable& table) {
    return {eModelKind::Table, table.strSchema, "", table.strName};
}

bool ListsColumn(const std::vector<std::string>& aColumns, const std::string& strColumn) {
    return std::any_of(aColumns.begin(), aColumns.end(),
                       [&](const std::string& str) { return Folded(str) == Folded(strColumn); });
}

bool IndexUses(const TModelIndex& index, const std::string& strColumn) {
    std::vector<std::string> aColumns = index.aIncluded;
    for (const TModelIndexColumn& key : index.aKeys)
        aColumns.push_back(key.strColumn);
    aColumns.insert(aColumns.end(), index.aPartitionColumns.begin(), index.aPartitionColumns.end());
    aColumns.insert(aColumns.end(), index.aOrder.begin(), index.aOrder.end());
    return ListsColumn(aColumns, strColumn);
}

// A foreign key with its table.
using TForeignKeyOf = std::pair<const TModelTable*, const TModelForeignKey*>;

// Whether a change of the property is decided by one of the rules.
bool IsBound(std::span<const TKindRule> aRules, const TPropertyChange& change) {
    return std::any_of(aRules.begin(), aRules.end(),
                       [&](const TKindRule& rule) { return rule.eOn == change.pProperty->eId; });
}

// What the migration reads of each model: its apply order and its objects.
struct TSideObjects {
    TRecreatePlan plan;
    std::vector<TCompareObject> aObjects;
    TObjectIndex mapObjects; // views aObjects, whose elements stay where they are when it moves
};

TSideObjects SideObjects(const TCatalogModel& model, const CRenames* pRenames) {
    TSideObjects side{PlanRecreate(model), {}, {}};
    side.aObjects = CompareObjects(model, side.plan, pRenames);
    side.mapObjects = IndexObjects(side.aObjects);
    return side;
}

// FROM's on a thread of its own beside TO's: neither reads what the other writes.
std::pair<TSideObjects, TSideObjects> BothSides(const TCatalogModel& from, const TCatalogModel& to,
                                                const CRenames& renames) {
    const CRenames* pRenames = renames.IsEmpty() ? nullptr : &renames;
    std::future<TSideObjects> fromSide =
        std::async(std::launch::async, [&] { return SideObjects(from, pRenames); });
    TSideObjects toSide = SideObjects(to, nullptr);
    return {fromSide.get(), std::move(toSide)};
}

} // namespace

struct CMigration::TState {
    TState(const TCatalogModel& fromModel, const TCatalogModel& toModel, TMigrationOptions migrationOptions)
        : TState(fromModel, toModel, migrationOptions,
                 BothSides(fromModel, toModel, migrationOptions.renames)) {}

    TState(const TCatalogModel& fromModel, const TCatalogModel& toModel, TMigrationOptions migrationOptions,
           std::pair<TSideObjects, TSideObjects> sides)
        : from(fromModel), to(toModel), options(std::move(migrationOptions)),
          planFrom(std::move(sides.first.plan)), planTo(std::move(sides.second.plan)),
          aFrom(std::move(sides.first.aObjects)), aTo(std::move(sides.second.aObjects)),
          mapFrom(std::move(sides.first.mapObjects)), mapTo(std::move(sides.second.mapObjects)),
          aDifferences(CompareModels({from, aFrom, mapFrom}, {to, aTo, mapTo})), usersFrom(planFrom),
          placeFrom(planFrom), placeTo(planTo) {
        for (const TModelDifference& difference : aDifferences)
            (difference.eChange == eDiffChange::Added     ? setAdded
             : difference.eChange == eDiffChange::Removed ? setRemoved
                                                          : setChanged)
                .insert(difference.Object().strMatch);
        for (const TModelDifference& difference : aDifferences)
            Decide(difference);
        for (const TRename& rename : options.renames.Items())
            AddRename(rename);
        for (const std::string& strTable : setRebuilt)
            Rebuild(strTable);
        for (const TCompareObject* pColumn : aChangedColumns)
            if (!setRebuilt.count(FromMatch(TableKey(*TableOf(*pColumn)))))
                DropUsersOfColumn(*pColumn);
        AddDependents();
        TurnVersioningOffAround();
        MakePropertiesAgain();
        Order();
        RefuseOutsideTransactions();
    }

    // FROM's object of the key; a default is matched by its column.
    const TCompareObject* From(const TModelKey& key) const {
        if (key.eKind != eModelKind::Default)
            return Found(mapFrom, FromMatch(key));
        const TModelTable* pTable = from.FindTable(key.strSchema, key.strTable);
        const auto it =
            pTable ? std::find_if(pTable->aDefaults.begin(), pTable->aDefaults.end(),
                                  [&](const TModelDefault& def) { return def.strName == key.strName; })
                   : std::vector<TModelDefault>::const_iterator();
        if (!pTable || it == pTable->aDefaults.end())
            return nullptr;
        return Found(mapFrom, FromMatch({eModelKind::Default, key.strSchema, key.strTable, it->strColumn}));
    }
    // What FROM's object of the key is matched by: its name in TO where it is renamed.
    std::string FromMatch(const TModelKey& key) const {
        return options.renames.IsEmpty() ? MatchKey(key) : MatchKey(options.renames.AsInTo(key));
    }
    const TCompareObject* To(const std::string& strMatch) const { return Found(mapTo, strMatch); }

    static const TCompareObject* Found(const TObjectIndex& map, const std::string& strMatch) {
        const auto it = map.find(strMatch);
        return it == map.end() ? nullptr : it->second;
    }

    bool IsAdded(const TModelKey& key) const { return setAdded.count(MatchKey(key)) > 0; }

    // A column, key or inline default of a table made anew comes with its CREATE TABLE, as does a default
    // written inline with a column added.
    bool ComesWithAnother(const TCompareObject& object) const {
        const eModelKind eKind = object.key.eKind;
        if (eKind != eModelKind::Column && eKind != eModelKind::Key && eKind != eModelKind::Default)
            return false;
        const bool bInline =
            eKind != eModelKind::Default || planTo.setInlineDefaults.count(&Part<TModelDefault>(object));
        if (!bInline)
            return false;
        const TModelTable& table = *TableOf(object);
        if (IsAdded(TableKey(table)))
            return true;
        return eKind == eModelKind::Default && IsAdded({eModelKind::Column, table.strSchema, table.strName,
                                                        Part<TModelDefault>(object).strColumn});
    }

    // What an object only FROM has goes with: its table or, for a property, what it is on.
    bool GoesWithAnother(const TCompareObject& object) const {
        if (object.key.eKind == eModelKind::Property) {
            const TModelExtendedProperty& property = *std::get<const TModelExtendedProperty*>(object.object);
            return property.target &&
                   (setRemoved.count(FromMatch(*property.target)) ||
                    (!property.target->strTable.empty() &&
                     setRemoved.count(FromMatch(
                         {eModelKind::Table, property.target->strSchema, "", property.target->strTable}))));
        }
        const TModelTable* pTable = TableOf(object);
        if (object.key.eKind == eModelKind::Index && !pTable)
            return setRemoved.count(
                MatchKey({eModelKind::View, object.key.strSchema, "", object.key.strTable}));
        return object.key.eKind != eModelKind::Table && pTable &&
               setRemoved.count(FromMatch(TableKey(*pTable)));
    }

    // A drop's users are made again once every difference is decided (AddDependents).
    void Add(eMigrationStep eStep, const TCompareObject* pFrom, const TCompareObject* pTo,
             TAlterWriter pfnAlter = nullptr) {
        aActions.push_back({eStep, pFrom, pTo, pfnAlter});
        if (eStep == eMigrationStep::Drop)
            aDropped.push_back(pFrom);
    }

    // Dropped from FROM, made again from TO.
    void MakeAgain(const TCompareObject& fromObject, const TCompareObject* pToObject) {
        if (!setMadeAgain.insert(fromObject.strMatch).second)
            return;
        Add(eMigrationStep::Drop, &fromObject, nullptr);
        if (pToObject)
            Add(eMigrationStep::Make, nullptr, pToObject);
    }

    void Decide(const TModelDifference& difference) {
        switch (difference.eChange) {
        case eDiffChange::Added:
            if (!ComesWithAnother(*difference.pTo))
                Add(eMigrationStep::Make, nullptr, difference.pTo);
            break;
        case eDiffChange::Removed:
            DecideRemoved(difference);
            break;
        case eDiffChange::Changed:
            DecideChanged(difference);
            break;
        }
    }

    // A rename comes between the drops, which name FROM's objects as FROM has them, and what is made or
    // changed, named as TO has them. What uses a renamed column or table is made again around it: a
    // schema-bound user would stop sp_rename, and the others name it by its old name.
    void AddRename(const TRename& rename) {
        const TCompareObject* pFrom = From(rename.from);
        const TCompareObject* pTo = pFrom ? To(pFrom->strMatch) : nullptr;
        if (!pTo)
            return;
        aActions.push_back({eMigrationStep::Rename, pFrom, pTo, nullptr});
        aRenamed.push_back({pFrom, pTo});
        const TModelTable& toTable = *TableOf(*pTo);
        if (setRebuilt.count(MatchKey(TableKey(toTable))))
            Refuse({pTo->key,
                    pTo->strName,
                    "table " + DisplayName({toTable.strSchema, toTable.strName}) +
                        " is rebuilt and renames " + pFrom->strName +
                        " at once, which the migration does not do",
                    eMigrationOption::None,
                    {}});
        if (rename.from.eKind == eModelKind::Column)
            aChangedColumns.push_back(pFrom);
        else
            MakeModulesAgain(*pFrom, *pFrom);
    }

    void DecideRemoved(const TModelDifference& difference) {
        const TCompareObject& object = *difference.pFrom;
        if (GoesWithAnother(object))
            return;
        if (IsOwnObject(object.key.eKind) && !options.bDrop) {
            setKept.insert(&difference);
            return;
        }
        if (object.key.eKind == eModelKind::Table) {
            DropForeignKeysOf(*TableOf(object));
            DropVersioningOf(*TableOf(object));
            DropFullTextIndexOf(*TableOf(object));
        }
        const TRecreateKind& kind = RecreateKind(object.key.eKind);
        if (!kind.strHolds.empty())
            Refuse({object.key, object.strName,
                    "dropping " + std::string(kind.strName) + " " + object.strName + " loses its " +
                        std::string(kind.strHolds),
                    eMigrationOption::AllowDataLoss, "drops it with them"});
        Add(eMigrationStep::Drop, &object, nullptr);
        if (object.key.eKind == eModelKind::Column)
            aChangedColumns.push_back(&object);
    }

    // A table dropped with others: its foreign keys go first, with those of the others, so that no table's
    // drop waits for a key that references it, whatever their order.
    void DropForeignKeysOf(const TModelTable& table) {
        for (const TModelForeignKey& key : table.aForeignKeys)
            if (MatchKey({eModelKind::Table, key.strReferencedSchema, "", key.strReferencedTable}) !=
                MatchKey(TableKey(table)))
                if (const TCompareObject* pKey =
                        From({eModelKind::ForeignKey, table.strSchema, table.strName, key.strName}))
                    Add(eMigrationStep::Drop, pKey, nullptr);
    }

    // A system-versioned table dropped: versioning goes off first, as the server keeps a history table in use
    // from being dropped, whether it is dropped with the table or not.
    void DropVersioningOf(const TModelTable& table) {
        if (table.versioning)
            if (const TCompareObject* pVersioning =
                    From({eModelKind::Versioning, table.strSchema, table.strName, "SYSTEM_VERSIONING"}))
                Add(eMigrationStep::Drop, pVersioning, nullptr);
    }

    // A table dropped or made anew: its full-text index is dropped first, on its own, as no full-text index
    // changes inside a transaction.
    void DropFullTextIndexOf(const TModelTable& table) {
        if (const TCompareObject* pIndex = FullTextIndexOf(table))
            Add(eMigrationStep::Drop, pIndex, nullptr);
    }

    const TCompareObject* FullTextIndexOf(const TModelTable& table) const {
        return table.fullText
                   ? From({eModelKind::FullTextIndex, table.strSchema, table.strName, table.strName})
                   : nullptr;
    }

    // The kind's rules decide; what uses a column changed in place or made again is made again after it.
    void DecideChanged(const TModelDifference& difference) {
        const TCompareObject& fromObject = *difference.pFrom;
        const TCompareObject& toObject = *difference.pTo;
        TChangeDecision decision = Decided(difference);
        for (TRefusal& refusal : decision.aRefusals)
            Refuse(std::move(refusal));
        switch (decision.eDecided) {
        case eChange::AlterInPlace:
            Add(eMigrationStep::Alter, &fromObject, &toObject, decision.pfnAlter);
            break;
        case eChange::MakeAgain:
            MakeAgain(fromObject, &toObject);
            break;
        case eChange::Rebuild: {
            const std::string strTable = MatchKey(TableKey(*TableOf(toObject)));
            setRebuilt.insert(strTable);
            aRebuildReasons.emplace_back(strTable, std::move(decision.strReason));
            return;
        }
        }
        if (toObject.key.eKind == eModelKind::Column)
            aChangedColumns.push_back(&fromObject);
    }

    // The heaviest decision of the rules whose property differs, the first of that weight; a property no rule
    // is bound to makes the object again.
    TChangeDecision Decided(const TModelDifference& difference) const {
        const TCompareObject& fromObject = *difference.pFrom;
        const TCompareObject& toObject = *difference.pTo;
        const std::span<const TKindRule> aRules = RecreateKind(fromObject.key.eKind).aRules;
        std::optional<TChangeDecision> decided;
        for (const TKindRule& rule : aRules) {
            const auto change = std::find_if(
                difference.aChanges.begin(), difference.aChanges.end(),
                [&](const TPropertyChange& changed) { return changed.pProperty->eId == rule.eOn; });
            if (change == difference.aChanges.end())
                continue;
            TChangeDecision decision = rule.pfnDecide({fromObject.key, toObject.key, toObject.strName,
                                                       fromObject.object, toObject.object, change->strOld,
                                                       change->strNew, from, usersFrom, options.dialect});
            if (!decided || decision.eDecided > decided->eDecided)
                decided = std::move(decision);
        }
        const bool bUnbound =
            std::any_of(difference.aChanges.begin(), difference.aChanges.end(),
                        [&](const TPropertyChange& change) { return !IsBound(aRules, change); });
        if (!decided || (bUnbound && decided->eDecided < eChange::MakeAgain))
            return TChangeDecision{};
        return std::move(*decided);
    }

    // Kept where the options allow it; data lost by leave is still told.
    void Refuse(TRefusal refusal) {
        if (refusal.eOption == eMigrationOption::AllowDataLoss && options.bAllowDataLoss)
            aWarnings.push_back(std::move(refusal));
        else if (refusal.eOption != eMigrationOption::AllowRebuild || !options.bAllowRebuild)
            aRefusals.push_back(std::move(refusal));
    }

    // What uses a column of FROM that is dropped or changed: dropped first, made again from TO.
    void DropUsersOfColumn(const TCompareObject& columnObject) {
        const TModelTable& table = *TableOf(columnObject);
        const TModelColumn& column = Part<TModelColumn>(columnObject);
        const std::string& strColumn = column.strName;
        const std::vector<const TColumnUse*> aUses = usersFrom.ColumnUses(column);
        std::vector<TModelKey> aUsers;
        const auto part = [&](eModelKind eKind, const std::string& strName) {
            return TModelKey{eKind, table.strSchema, table.strName, strName};
        };
        for (const TModelIndex& index : table.aIndexes)
            if (IndexUses(index, strColumn))
                aUsers.push_back(
                    part(index.eKind == eModelIndexKind::Index ? eModelKind::Index : eModelKind::Key,
                         index.strName));
        for (const TColumnUse* pUse : aUses)
            if (!pUse->pComputed)
                aUsers.push_back(planFrom.aSteps[pUse->nStep].key);
        for (const TModelDefault& def : table.aDefaults)
            if (Folded(def.strColumn) == Folded(strColumn))
                aUsers.push_back(part(eModelKind::Default, def.strName));
        for (const TModelStatistic& statistic : table.aStatistics)
            for (const std::string& strOwn : statistic.aColumns)
                if (Folded(strOwn) == Folded(strColumn))
                    aUsers.push_back(part(eModelKind::Statistic, statistic.strName));
        for (const TColumnUse* pUse : aUses)
            if (pUse->pComputed)
                aUsers.push_back(part(eModelKind::Column, pUse->pComputed->strName));
        for (const TModelForeignKey& key : table.aForeignKeys)
            for (const auto& [strOwn, strReferenced] : key.aColumns)
                if (Folded(strOwn) == Folded(strColumn))
                    aUsers.push_back(part(eModelKind::ForeignKey, key.strName));
        for (const auto& [pOther, pKey] : KeysReferencing(table))
            for (const auto& [strOwn, strReferenced] : pKey->aColumns)
                if (Folded(strReferenced) == Folded(strColumn))
                    aUsers.push_back(
                        {eModelKind::ForeignKey, pOther->strSchema, pOther->strName, pKey->strName});
        if (table.fullText && std::any_of(table.fullText->aColumns.begin(), table.fullText->aColumns.end(),
                                          [&](const TModelFullTextColumn& indexed) {
                                              return Folded(indexed.strColumn) == Folded(strColumn) ||
                                                     Folded(indexed.strTypeColumn) == Folded(strColumn);
                                          }))
            aUsers.push_back(part(eModelKind::FullTextIndex, table.strName));
        for (const TModelKey& key : aUsers)
            if (const TCompareObject* pUser = From(key))
                MakeUserAgain(*pUser, columnObject, false);
        MakeModulesAgain(*From(TableKey(table)), columnObject);
    }

    // Whether FROM's object stays as it is although TO lacks it: an object of its own schema, or a part of a
    // table, that the run does not drop.
    bool IsKept(const TCompareObject& object) const {
        if (options.bDrop || !setRemoved.count(object.strMatch))
            return false;
        const TModelTable* pTable = TableOf(object);
        return IsOwnObject(object.key.eKind) || (pTable && setRemoved.count(FromMatch(TableKey(*pTable))));
    }

    // A user of something that is dropped or changes: dropped, and made again from TO. One that TO lacks is
    // dropped by its own difference, or refused where it is kept and cannot do without what it uses; one that
    // changes itself is made again rather than changed in place.
    void MakeUserAgain(const TCompareObject& user, const TCompareObject& used, bool bSoft) {
        const TCompareObject* pTo = To(user.strMatch);
        if (!pTo) {
            if (!bSoft && IsKept(user))
                RefuseKeptUser(user, used);
            return;
        }
        if (setMadeAgain.count(user.strMatch))
            return;
        if (setChanged.count(user.strMatch)) {
            MakeChangedAgain(user, *pTo);
            return;
        }
        MakeAgain(user, pTo);
        if (user.key.eKind == eModelKind::Column)
            DropUsersOfColumn(user);
    }

    // A change in place of an object that must be dropped first becomes its drop and TO's making.
    void MakeChangedAgain(const TCompareObject& user, const TCompareObject& to) {
        const auto it = std::find_if(aActions.begin(), aActions.end(), [&](const TMigrationAction& action) {
            return action.eStep == eMigrationStep::Alter && action.pFrom == &user;
        });
        if (it == aActions.end())
            return;
        aActions.erase(it);
        MakeAgain(user, &to);
    }

    void RefuseKeptUser(const TCompareObject& user, const TCompareObject& used) {
        const std::string strUser = std::string(RecreateKind(user.key.eKind).strName) + " " + user.strName;
        Refuse({user.key, user.strName,
                strUser + ", which only FROM has, uses " + std::string(RecreateKind(used.key.eKind).strName) +
                    " " + used.strName + ", which the migration " +
                    (setRemoved.count(used.strMatch) ? "drops" : "changes"),
                eMigrationOption::Drop, "drops it too"});
    }

    // FROM's steps that need the object's step: what uses it, and whether it runs without it.
    std::vector<std::pair<const TCompareObject*, bool>> Users(const TCompareObject& object) const {
        std::vector<std::pair<const TCompareObject*, bool>> aUsers;
        const size_t nUsed = usersFrom.Step(object.key);
        for (const size_t nStep : usersFrom.Users(object.key))
            if (const TCompareObject* pUser = From(planFrom.aSteps[nStep].key))
                aUsers.emplace_back(pUser, usersFrom.NeedsSoftly(nStep, nUsed));
        return aUsers;
    }

    // What T-SQL or the server binds to a table's shape: its triggers, and the views and functions that
    // cannot run without it.
    void MakeModulesAgain(const TCompareObject& table, const TCompareObject& changed) {
        for (const auto& [pUser, bSoft] : Users(table))
            if (pUser->key.eKind == eModelKind::Trigger ||
                (!bSoft && std::holds_alternative<const TModelModule*>(pUser->object)))
                MakeUserAgain(*pUser, changed, bSoft);
    }

    // Everything that uses an object made again: modules, parameters, constraints, and of a table the
    // computed columns that use it and the columns of its type.
    void MakeAllUsersAgain(const TCompareObject& dropped) {
        for (const auto& [pUser, bSoft] : Users(dropped)) {
            if (const TModelTable* const* ppTable = std::get_if<const TModelTable*>(&pUser->object))
                MakeColumnsAgain(**ppTable, dropped);
            else
                MakeUserAgain(*pUser, dropped, bSoft);
        }
    }

    void MakeColumnsAgain(const TModelTable& table, const TCompareObject& dropped) {
        const size_t nTable = usersFrom.Step(TableKey(table));
        const size_t nDropped = usersFrom.Step(dropped.key);
        for (const TComputedNeed& need : planFrom.aComputedNeeds)
            if (need.nTable == nTable && need.nNeeded == nDropped)
                if (const TCompareObject* pColumn = ColumnObject(table, need.pColumn->strName))
                    MakeUserAgain(*pColumn, dropped, false);
        if (dropped.key.eKind != eModelKind::AliasType &&
            dropped.key.eKind != eModelKind::XmlSchemaCollection)
            return;
        for (const TModelColumn& column : table.aColumns)
            if (IsOfType(column.type, dropped.key))
                if (const TCompareObject* pColumn = ColumnObject(table, column.strName))
                    DetachColumn(*pColumn);
    }

    const TCompareObject* ColumnObject(const TModelTable& table, const std::string& strColumn) const {
        return From({eModelKind::Column, table.strSchema, table.strName, strColumn});
    }

    // Of the alias type, or typed xml of the XML schema collection.
    static bool IsOfType(const TModelDataType& type, const TModelKey& typeKey) {
        if (typeKey.eKind == eModelKind::XmlSchemaCollection)
            return type.IsTypedXml() && Folded(type.strXmlSchema) == Folded(typeKey.strSchema) &&
                   Folded(type.strXmlCollection) == Folded(typeKey.strName);
        return type.IsUserDefined() && Folded(type.strSchema) == Folded(typeKey.strSchema) &&
               Folded(type.strName) == Folded(typeKey.strName);
    }

    // A column of an alias type made again takes the type's base type until the type is there again, then
    // TO's type, as typed xml is untyped while its collection is away; what uses the column is made again
    // around it.
    void DetachColumn(const TCompareObject& column) {
        const TCompareObject* pTo = To(column.strMatch);
        if (!pTo || !setDetached.insert(column.strMatch).second)
            return;
        Add(eMigrationStep::Detach, &column, nullptr);
        const bool bOwnChange = setChanged.count(column.strMatch) > 0;
        if (!bOwnChange && !setRebuilt.count(FromMatch(TableKey(*TableOf(column)))))
            Add(eMigrationStep::Alter, &column, pTo, &AlterColumn);
        if (!bOwnChange)
            DropUsersOfColumn(column);
    }

    // FROM's foreign keys that reference the table (FROM's or TO's of that name), in FROM's order.
    const std::vector<TForeignKeyOf>& KeysReferencing(const TModelTable& table) const {
        static const std::vector<TForeignKeyOf> aNone;
        if (!m_pKeysReferencing) {
            m_pKeysReferencing =
                std::make_unique<std::unordered_map<std::string, std::vector<TForeignKeyOf>>>();
            for (const TModelTable& other : from.aTables)
                for (const TModelForeignKey& key : other.aForeignKeys)
                    (*m_pKeysReferencing)[MatchKey({eModelKind::Table, key.strReferencedSchema, "",
                                                    key.strReferencedTable})]
                        .push_back({&other, &key});
        }
        const auto it = m_pKeysReferencing->find(MatchKey(TableKey(table)));
        return it == m_pKeysReferencing->end() ? aNone : it->second;
    }

    // What must be dropped before an object that is dropped or made again, and made again after it: every
    // drop's users, the drops that makes too.
    void AddDependents() {
        for (size_t i = 0; i < aDropped.size(); ++i) {
            const TCompareObject& dropped = *aDropped[i];
            switch (RecreateKind(dropped.key.eKind).eUsersAgain) {
            case eUsersMadeAgain::ForeignKeys:
                if (TableOf(dropped))
                    MakeForeignKeysAgain(dropped);
                else // a view's clustered index takes the view's other indexes with it
                    for (const auto& [pUser, bSoft] : Users(dropped))
                        MakeUserAgain(*pUser, dropped, bSoft);
                break;
            case eUsersMadeAgain::Modules:
                MakeModulesAgain(dropped, dropped);
                if (dropped.key.eKind == eModelKind::View) // its indexes go with it
                    for (const auto& [pUser, bSoft] : Users(dropped))
                        if (pUser->key.eKind == eModelKind::Index)
                            MakeUserAgain(*pUser, dropped, bSoft);
                break;
            case eUsersMadeAgain::All:
                MakeAllUsersAgain(dropped);
                break;
            case eUsersMadeAgain::None:
                break;
            }
        }
    }

    // The foreign keys that reference a key or unique index made again, and the full-text index it keys.
    void MakeForeignKeysAgain(const TCompareObject& keyObject) {
        const TModelTable& table = *TableOf(keyObject);
        const TModelIndex& index = Part<TModelIndex>(keyObject);
        if (table.fullText && Folded(table.fullText->strKeyIndex) == Folded(index.strName))
            if (const TCompareObject* pUser = FullTextIndexOf(table))
                MakeUserAgain(*pUser, keyObject, false);
        for (const auto& [pOther, pKey] : KeysReferencing(table))
            if (Folded(pKey->strKeyIndex) == Folded(index.strName))
                if (const TCompareObject* pUser =
                        From({eModelKind::ForeignKey, pOther->strSchema, pOther->strName, pKey->strName}))
                    MakeUserAgain(*pUser, keyObject, false);
    }

    // Whether the object is the table of that match key, one of its parts or one of its triggers.
    static bool BelongsTo(const TCompareObject& object, const std::string& strTable) {
        if (object.key.eKind == eModelKind::Trigger)
            return MatchKey({eModelKind::Table, object.key.strSchema, "", object.key.strTable}) == strTable;
        const TModelTable* pTable = TableOf(object);
        return pTable && MatchKey(TableKey(*pTable)) == strTable;
    }

    // A table made anew under another name: every part and trigger made again after it (what it had goes
    // with it), and what references it dropped first.
    void Rebuild(const std::string& strTable) {
        const TCompareObject& toTable = *To(strTable);
        const TCompareObject& fromTable = *mapFrom.at(strTable);
        const TModelTable& table = *TableOf(toTable);
        for (const TModelColumn& column : TableOf(fromTable)->aColumns)
            if (!table.FindColumn(column.strName))
                Refuse({toTable.key, toTable.strName,
                        "rebuilding table " + toTable.strName + " loses column " + column.strName,
                        eMigrationOption::AllowDataLoss, "drops it with its values"});
        std::erase_if(aActions, [&](const TMigrationAction& action) {
            return BelongsTo(action.pTo ? *action.pTo : *action.pFrom, strTable);
        });
        Add(eMigrationStep::Rebuild, &fromTable, &toTable);
        setMadeAgain.insert(strTable);
        DropFullTextIndexOf(*TableOf(fromTable));
        for (const TCompareObject& object : aTo)
            if (BelongsTo(object, strTable) && object.key.eKind != eModelKind::Table &&
                object.key.eKind != eModelKind::Column) {
                setMadeAgain.insert(object.strMatch);
                Add(eMigrationStep::Make, nullptr, &object);
            }
        for (const auto& [pOther, pKey] : KeysReferencing(table))
            if (MatchKey(TableKey(*pOther)) != strTable)
                if (const TCompareObject* pUser =
                        From({eModelKind::ForeignKey, pOther->strSchema, pOther->strName, pKey->strName}))
                    MakeUserAgain(*pUser, fromTable, false);
        MakeModulesAgain(fromTable, fromTable);
    }

    // SYSTEM_VERSIONING is off while its table or its history table changes, which the server would otherwise
    // refuse or pass on to the history itself: turned off first and on again after, as TO has it.
    void TurnVersioningOffAround() {
        for (const TCompareObject& versioning : aFrom) {
            if (versioning.key.eKind != eModelKind::Versioning || setMadeAgain.count(versioning.strMatch))
                continue;
            const TCompareObject* pTo = To(versioning.strMatch);
            const auto& [pTable, pVersioning] = std::get<TTablePart<TModelVersioning>>(versioning.object);
            const std::string strTable = MatchKey(TableKey(*pTable));
            const std::string strHistory = MatchKey(
                {eModelKind::Table, pVersioning->strHistorySchema, "", pVersioning->strHistoryTable});
            const bool bChanging = std::any_of(aActions.begin(), aActions.end(), [&](const auto& action) {
                const TCompareObject& object = action.pTo ? *action.pTo : *action.pFrom;
                return object.key.eKind != eModelKind::Versioning &&
                       (BelongsTo(object, strTable) || BelongsTo(object, strHistory));
            });
            if (!pTo || !bChanging)
                continue;
            std::erase_if(aActions,
                          [&](const TMigrationAction& action) { return action.pFrom == &versioning; });
            MakeAgain(versioning, pTo);
        }
    }

    // What T-SQL does not do inside a transaction cannot be part of the migration: each such object once.
    void RefuseOutsideTransactions() {
        std::unordered_set<std::string> setRefused;
        for (const TMigrationAction& action : aActions) {
            const TCompareObject& object = action.pTo ? *action.pTo : *action.pFrom;
            const bool bOutside = IsOutsideTransactions(object.object) ||
                                  (action.pFrom && IsOutsideTransactions(action.pFrom->object));
            if (!bOutside || !setRefused.insert(object.strMatch).second)
                continue;
            const char* pszChange = !action.pFrom ? " is made" : !action.pTo ? " is dropped" : " changes";
            Refuse({object.key,
                    object.strName,
                    std::string(RecreateKind(object.key.eKind).strName) + " " + object.strName + pszChange +
                        ", which T-SQL does not do inside the migration's transaction",
                    eMigrationOption::None,
                    {}});
        }
    }

    // Dropping an object drops its extended properties: those of what is made again are added again, whether
    // they changed or not.
    void MakePropertiesAgain() {
        const auto isMadeAgain = [&](const TModelExtendedProperty& property) {
            if (!property.target)
                return false;
            const TModelKey& target = *property.target;
            return setMadeAgain.count(MatchKey(target)) ||
                   (!target.strTable.empty() &&
                    setMadeAgain.count(
                        MatchKey({eModelKind::Table, target.strSchema, "", target.strTable}))) ||
                   (!property.strColumn.empty() &&
                    setMadeAgain.count(MatchKey(
                        {eModelKind::Column, target.strSchema, target.strName, property.strColumn})));
        };
        std::erase_if(aActions, [&](const TMigrationAction& action) {
            const TCompareObject& object = action.pTo ? *action.pTo : *action.pFrom;
            return object.key.eKind == eModelKind::Property && action.eStep != eMigrationStep::Make &&
                   isMadeAgain(*std::get<const TModelExtendedProperty*>(object.object));
        });
        std::unordered_set<const TCompareObject*> setMade;
        for (const TMigrationAction& action : aActions)
            if (action.eStep == eMigrationStep::Make)
                setMade.insert(action.pTo);
        for (const TCompareObject& object : aTo)
            if (object.key.eKind == eModelKind::Property && !setMade.count(&object) &&
                isMadeAgain(*std::get<const TModelExtendedProperty*>(object.object)))
                Add(eMigrationStep::Make, nullptr, &object);
    }

    // Drops in the reverse of FROM's apply order, then what is made or changed in TO's: what comes at one
    // place keeps the order in which it was decided, reversed for the drops.
    void Order() {
        const auto place = [&](const TMigrationAction& action) {
            return IsTakenApart(action.eStep) ? placeFrom.Place(action.pFrom->key)
                                              : placeTo.Place(action.pTo->key);
        };
        std::vector<TMigrationAction> aDrops, aRenames, aOthers;
        for (const TMigrationAction& action : aActions)
            (IsTakenApart(action.eStep)               ? aDrops
             : action.eStep == eMigrationStep::Rename ? aRenames
                                                      : aOthers)
                .push_back(action);
        // What uses an object is decided after it: at one place, it is dropped before it.
        std::reverse(aDrops.begin(), aDrops.end());
        std::stable_sort(aDrops.begin(), aDrops.end(),
                         [&](const auto& a, const auto& b) { return place(b) < place(a); });
        std::stable_sort(aOthers.begin(), aOthers.end(),
                         [&](const auto& a, const auto& b) { return place(a) < place(b); });
        aActions = std::move(aDrops);
        aActions.insert(aActions.end(), aRenames.begin(), aRenames.end());
        aActions.insert(aActions.end(), aOthers.begin(), aOthers.end());
        OrderItems();
        for (const auto& [strTable, strReason] : aRebuildReasons) {
            const TCompareObject& table = *To(strTable);
            Refuse({table.key, table.strName, "table " + table.strName + " is rebuilt: " + strReason,
                    eMigrationOption::AllowRebuild, "copies its rows into a new table"});
        }
    }

    // The differences as the script deals with them: what only FROM has first, in the reverse of its apply
    // order, then the rest in TO's. A part of a table made or dropped whole is the table's line.
    void OrderItems() {
        std::vector<std::pair<TPlace, TMigrationItem>> aRemoved, aRest;
        for (const TModelDifference& difference : aDifferences) {
            if (difference.eChange == eDiffChange::Removed) {
                if (!GoesWithAnother(*difference.pFrom))
                    aRemoved.push_back({placeFrom.Place(difference.pFrom->key),
                                        {&difference, setKept.count(&difference) > 0}});
            } else if (difference.eChange == eDiffChange::Changed || !ComesWithAnother(*difference.pTo)) {
                aRest.push_back({placeTo.Place(difference.pTo->key), {&difference, false}});
            }
        }
        std::stable_sort(aRemoved.begin(), aRemoved.end(),
                         [](const auto& a, const auto& b) { return b.first < a.first; });
        std::stable_sort(aRest.begin(), aRest.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [place, item] : aRemoved)
            aItems.push_back(item);
        for (const auto& [pFrom, pTo] : aRenamed)
            aItems.push_back({nullptr, false, pFrom, pTo});
        for (const auto& [place, item] : aRest)
            aItems.push_back(item);
    }

    // The check that the target is still FROM: each table, module or type an action drops, changes or
    // makes, or that a part it deals with belongs to, with FROM's hash, or with none where FROM has none.
    std::optional<TStatement> DriftStatement() const {
        if (!options.fromHashes || (aActions.empty() && options.aRowTables.empty()))
            return std::nullopt;
        std::vector<TDriftObject> aObjects;
        std::unordered_set<std::string> setListed;
        // FROM's objects are found under their names in TO, and checked under their own.
        const auto list = [&](const TCompareObject* pObject, bool bFrom) {
            if (!pObject)
                return;
            const TModelTable* pTable = TableOf(*pObject);
            const TModelKey key = pTable ? TableKey(*pTable) : pObject->key;
            if (!IsHashed(key.eKind))
                return;
            const TCompareObject* pFrom = Found(mapFrom, bFrom ? FromMatch(key) : MatchKey(key));
            if (!setListed.insert(MatchKey(pFrom ? pFrom->key : key)).second)
                return;
            if (!pFrom) {
                aObjects.push_back({key, std::nullopt});
                return;
            }
            if (const auto hash = options.fromHashes->find(HashKey(pFrom->key));
                hash != options.fromHashes->end())
                aObjects.push_back({pFrom->key, hash->second});
        };
        for (const TMigrationAction& action : aActions) {
            list(action.pFrom, true);
            list(action.pTo, false);
        }
        for (const TModelKey& key : options.aRowTables)
            list(Found(mapTo, MatchKey(key)), false);
        return aObjects.empty() ? std::nullopt : std::optional(DriftCheck(aObjects));
    }

    const TCatalogModel& from;
    const TCatalogModel& to;
    const TMigrationOptions options;
    const TRecreatePlan planFrom;
    const TRecreatePlan planTo;
    const std::vector<TCompareObject> aFrom;
    const std::vector<TCompareObject> aTo;
    const TObjectIndex mapFrom;
    const TObjectIndex mapTo;
    const std::vector<TModelDifference> aDifferences;
    const CPlanUsers usersFrom;
    const CPlacement placeFrom;
    const CPlacement placeTo;
    std::unordered_set<std::string> setAdded;
    std::unordered_set<std::string> setRemoved;
    std::unordered_set<std::string> setChanged;
    std::unordered_set<std::string> setMadeAgain;
    std::unordered_set<std::string> setRebuilt;
    std::unordered_set<std::string> setDetached;
    std::vector<const TCompareObject*> aChangedColumns; // dropped or changed: what uses them is made again
    std::vector<const TCompareObject*> aDropped;        // in the order of their drops' actions
    std::vector<std::pair<std::string, std::string>> aRebuildReasons;              // table's match, why
    std::vector<std::pair<const TCompareObject*, const TCompareObject*>> aRenamed; // FROM's, TO's
    std::unordered_set<const TModelDifference*> setKept;
    std::vector<TMigrationAction> aActions;
    std::vector<TMigrationItem> aItems;
    std::vector<TRefusal> aRefusals;
    std::vector<TRefusal> aWarnings;
    mutable std::unique_ptr<std::unordered_map<std::string, std::vector<TForeignKeyOf>>> m_pKeysReferencing;
};

CMigration::CMigration(const TCatalogModel& from, const TCatalogModel& to, TMigrationOptions options)
    : m_pState(std::make_unique<TState>(from, to, std::move(options))) {}

CMigration::~CMigration() = default;

const std::vector<TMigrationItem>& CMigration::Items() const {
    return m_pState->aItems;
}

const std::vector<TRefusal>& CMigration::Refusals() const {
    return m_pState->aRefusals;
}

const std::vector<TRefusal>& CMigration::Warnings() const {
    return m_pState->aWarnings;
}

std::string CMigration::Script() const {
    const TState& state = *m_pState;
    return MigrationScript(state.aActions,
                           {state.from, state.to, state.planFrom, state.planTo, state.options},
                           state.DriftStatement());
}
