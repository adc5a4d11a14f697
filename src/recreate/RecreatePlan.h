// The apply order: a step per object, the steps each needs first, their sections, and one order of them that
// keeps the sections' order and every need wherever a cycle does not forbid it.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/RecreateScript.h"
#include "scripting/SqlText.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

constexpr size_t NO_STEP = static_cast<size_t>(-1);

struct TPlanNeed {
    size_t nStep = 0;
    // The statement still runs when the needed object is missing (a procedure or a function's body
    // naming a table it reads): given up first when steps need each other in a cycle.
    bool bSoft = false;
};

// A part of a table: a check, default, index or foreign key, with the table it belongs to.
template <typename T> struct TTablePart {
    const TModelTable* pTable = nullptr; // none for an index of a view, which the key names

    const T* pPart = nullptr;
};

// The extended properties of one object and its parts (a table's columns, constraints and indexes), or of
// the database.
struct TPropertySet {
    std::vector<const TModelExtendedProperty*> aProperties;
    size_t nOwner = NO_STEP; // the step of the object they are on; NO_STEP for the database's own
};

// The permissions on one securable, in the catalog's order.
struct TPermissionSet {
    std::vector<const TModelPermission*> aPermissions;
};

// The record a step stands for; which one goes with which kind is the kinds table's business. A table's
// index stands for a key too; one property is what a comparison adds, changes or drops alone.
using TPlanObject = std::variant<
    const TModelSchema*, const TModelType*, const TModelSequence*, const TModelSynonym*, const TModelTable*,
    TTablePart<TModelColumn>, TTablePart<TModelCheck>, TTablePart<TModelDefault>, TTablePart<TModelIndex>,
    TTablePart<TModelForeignKey>, const TModelModule*, TPropertySet, const TModelExtendedProperty*,
    const TModelPrincipal*, const TModelRoleMember*, const TModelOwner*, TPermissionSet,
    const TModelFilegroup*, const TModelPartitionFunction*, const TModelPartitionScheme*,
    TTablePart<TModelVersioning>, TTablePart<TModelEdgeConstraint>, const TModelSecurityPolicy*,
    TTablePart<TModelStatistic>, const TModelXmlSchemaCollection*, const TModelFullTextCatalog*,
    TTablePart<TModelFullTextIndex>, const TModelFullTextStoplist*, const TModelSearchPropertyList*>;

struct TPlanStep {
    TModelKey key; // a property set's: the kind Property with the schema and name of the object it is on
    eRecreateSection eSection = eRecreateSection::Schemas;
    TPlanObject object;
    std::vector<TPlanNeed> aNeeds;
};

// A column that an expression of its own table names: a check's, or a computed column's. Found from the
// expression once, when first asked for: the server reports what an expression uses of other objects only.
struct TColumnUse {
    const TModelColumn* pColumn = nullptr;   // the column named
    size_t nStep = NO_STEP;                  // what names it: the check's step, or its table's
    const TModelColumn* pComputed = nullptr; // the computed column that names it; null for a check
};

// What a computed column's expression uses: its table's step needs it for the column.
struct TComputedNeed {
    size_t nTable = NO_STEP;
    const TModelColumn* pColumn = nullptr;
    size_t nNeeded = NO_STEP;
};

struct TRecreatePlan {
    std::vector<TPlanStep> aSteps;
    std::vector<size_t> aOrder; // the steps in apply order; defaults written inside their table left out
    std::vector<std::vector<size_t>> aCycles;
    // Defaults written in their column's definition rather than by a statement of their own.
    std::unordered_set<const TModelDefault*> setInlineDefaults;
    std::vector<TComputedNeed> aComputedNeeds; // in step order
};

// What uses each object of a plan, from the steps' needs and the columns' uses: found on first use, as a
// migration asks it of few objects.
class CPlanUsers {
public:
    explicit CPlanUsers(const TRecreatePlan& plan);
    ~CPlanUsers();
    CPlanUsers(const CPlanUsers&) = delete;
    CPlanUsers& operator=(const CPlanUsers&) = delete;

    const TRecreatePlan& Plan() const { return m_plan; }
    // The step of the key; NO_STEP where there is none.
    size_t Step(const TModelKey& key) const;
    // The steps that need the step of the key, in step order, a step once per need; none where it has none.
    const std::vector<size_t>& Users(const TModelKey& key) const;
    // Whether the user runs when what it needs is missing (a procedure's body naming it).
    bool NeedsSoftly(size_t nUser, size_t nNeeded) const;
    // What names the column, in step order.
    std::vector<const TColumnUse*> ColumnUses(const TModelColumn& column) const;

private:
    struct TIndex;
    const TIndex& Index() const;

    const TRecreatePlan& m_plan;
    mutable std::unique_ptr<TIndex> m_pIndex;
};

// A schema-bound view or function, or a security policy: what it uses cannot be dropped or changed while it
// is there.
bool IsSchemaBound(const TPlanObject& object);

// Puts the plan's steps together: each kind's row in the kinds table collects its objects and tells what
// each needs through it.
class CPlanBuilder {
public:
    explicit CPlanBuilder(const TCatalogModel& model);

    // Every kind's steps, with what each needs, in the kinds table's order of kinds.
    TRecreatePlan Build();

    const TCatalogModel& Model() const { return m_model; }
    const TPlanStep& Step(size_t nStep) const { return m_plan.aSteps[nStep]; }
    // A step for the object under its key, in the section its kind starts in.
    size_t Add(TModelKey key, TPlanObject object);
    // The step of the object of that key; NO_STEP when there is none.
    size_t Find(const TModelKey& key) const;
    size_t FindTable(const std::string& strSchema, const std::string& strName) const;

    void Need(size_t nStep, size_t nNeeded, bool bSoft);
    // The user type a column or sequence is of, or the XML schema collection its xml is typed by.
    void NeedType(size_t nStep, const TModelDataType& type);
    // What an expression or module uses: the references the server reports for it (from, and the computed
    // column strColumn), else the names its text holds, keywords written bare left out. The computed
    // column's needs are kept apart too.
    void NeedReferences(size_t nStep, const TModelKey& from, const std::string& strColumn,
                        const std::string& strText, bool bSoft, const TModelColumn* pComputed = nullptr);

private:
    void NeedNamed(size_t nStep, size_t nNeeded, bool bSoft, const TModelColumn* pComputed);

    const TCatalogModel& m_model;
    TRecreatePlan m_plan;
    // By the hash of the key of what makes them, and of the step's key.
    std::unordered_map<size_t, std::vector<const TModelReference*>> m_mapReferences;
    std::unordered_multimap<size_t, size_t> m_mapSteps;
    CSqlNameIndex m_names; // schema-level objects that others may name
};

// The steps of every object of the model, with what each needs, in apply order (RecreateOrder.cpp orders
// them).
TRecreatePlan PlanRecreate(const TCatalogModel& model);
// Sets each step's section and the plan's order: functions that tables use moved before the tables, every
// step no earlier than what it needs, checks and some defaults apart from their table.
void OrderPlan(TRecreatePlan& plan);

// False for a default that SQL Server cannot create, such as the one some servers report for a rowversion
// column, whose values the server makes.
bool IsScriptedDefault(const TModelTable& table, const TModelDefault& def);

// Each kind's steps and what they need (RecreatePlan.cpp): the kinds table's collectors, each given the kind
// of its row, and the needs of a step of that kind.
// Columns and keys are written with their table: no steps of their own.
void CollectNothing(CPlanBuilder& builder, eModelKind eKind);
// A step for each record of one of the model's lists of objects named by schema and name (sequences,
// synonyms, tables).
template <auto pList> void CollectRecords(CPlanBuilder& builder, eModelKind eKind) {
    for (const auto& record : builder.Model().*pList)
        builder.Add({eKind, record.strSchema, std::string(), record.strName}, &record);
}
// A step for each record of one of the model's lists of the database's own objects, named by name alone
// (filegroups, partition functions and schemes).
template <auto pList> void CollectDatabaseRecords(CPlanBuilder& builder, eModelKind eKind) {
    for (const auto& record : builder.Model().*pList)
        builder.Add({eKind, std::string(), std::string(), record.strName}, &record);
}
void CollectSchemas(CPlanBuilder& builder, eModelKind eKind);
// The filegroups but PRIMARY, which every database has.
void CollectFilegroups(CPlanBuilder& builder, eModelKind eKind);
// SYSTEM_VERSIONING of each system-versioned table, a part of it under that name.
void CollectVersionings(CPlanBuilder& builder, eModelKind eKind);
// The full-text index of each table that has one, a part of it under the table's name.
void CollectFullTextIndexes(CPlanBuilder& builder, eModelKind eKind);
void CollectTypes(CPlanBuilder& builder, eModelKind eKind);
void CollectTableParts(CPlanBuilder& builder, eModelKind eKind);
void CollectModules(CPlanBuilder& builder, eModelKind eKind);
void CollectProperties(CPlanBuilder& builder, eModelKind eKind);
// Users, roles and application roles of the kind; role members, owners and permissions (SecurityPlan.cpp).
void CollectPrincipals(CPlanBuilder& builder, eModelKind eKind);
void CollectRoleMembers(CPlanBuilder& builder, eModelKind eKind);
void CollectOwners(CPlanBuilder& builder, eModelKind eKind);
void CollectPermissions(CPlanBuilder& builder, eModelKind eKind);

void NeedNothing(CPlanBuilder& builder, size_t nStep);
void NeedTableTypeParts(CPlanBuilder& builder, size_t nStep);
void NeedSequenceType(CPlanBuilder& builder, size_t nStep);
void NeedColumnUses(CPlanBuilder& builder, size_t nStep);
void NeedOwnTable(CPlanBuilder& builder, size_t nStep);
// A full-text index needs its table, its key index, its catalog, its stoplist and its search property list.
void NeedFullTextIndexUses(CPlanBuilder& builder, size_t nStep);
void NeedIndexOwner(CPlanBuilder& builder, size_t nStep);
void NeedConstraintUses(CPlanBuilder& builder, size_t nStep);
void NeedReferencedKey(CPlanBuilder& builder, size_t nStep);
void NeedModuleUses(CPlanBuilder& builder, size_t nStep);
void NeedSchemaOwner(CPlanBuilder& builder, size_t nStep);
void NeedRoleOwner(CPlanBuilder& builder, size_t nStep);
void NeedRoleAndMember(CPlanBuilder& builder, size_t nStep);
void NeedObjectAndOwner(CPlanBuilder& builder, size_t nStep);
void NeedSecurableAndGrantees(CPlanBuilder& builder, size_t nStep);
// A partition scheme needs its function and filegroups; an index its table and its data space.
void NeedFunctionAndFilegroups(CPlanBuilder& builder, size_t nStep);
// SYSTEM_VERSIONING needs its table, its history table and that table's indexes (a finite retention needs
// the history's clustered index); an edge constraint its table and the node tables it connects.
void NeedVersionedTables(CPlanBuilder& builder, size_t nStep);
void NeedConnectedNodes(CPlanBuilder& builder, size_t nStep);
// A security policy's tables and the functions its predicates call.
void NeedPolicyUses(CPlanBuilder& builder, size_t nStep);
// What an XML index is made on, for NeedIndexOwner: the primary key, or the primary XML index.
void NeedXmlIndexBase(CPlanBuilder& builder, size_t nStep, const TModelTable& table,
                      const TModelIndex& index);
