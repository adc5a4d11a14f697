#include "recreate/RecreateKinds.h"

#include "recreate/DdlWriter.h"

#include <algorithm>

namespace {

using enum eModelKind;
using enum eRecreateSection;

// In apply order: a kind's steps start in its section and, within one, come in its priority's order
// (checks and defaults of a table by name, together).
constexpr std::array<TRecreateKind, MODEL_KIND_COUNT> g_aKinds = {{
    {Schema, "schema", "schemas", "Schemas", "SCHEMA", Schemas, 0, false, false, &CollectSchemas,
     &NeedSchemaOwner, &CreateSchema, &DropSchema},
    {AliasType, "alias type", "types", "Types", "TYPE", Types, 1, true, true, &CollectTypes, &NeedNothing,
     &CreateAliasType, &DropSchemaObject},
    {TableType, "table type", "types", "Types", "TYPE", Types, 2, true, true, &CollectTypes,
     &NeedTableTypeParts, &CreateTableType, &DropSchemaObject},
    {Sequence, "sequence", "sequences", "Sequences", "SEQUENCE", Sequences, 3, true, false, &CollectSequences,
     &NeedSequenceType, &CreateSequence, &DropSchemaObject},
    {Synonym, "synonym", "synonyms", "Synonyms", "SYNONYM", Synonyms, 4, true, false, &CollectSynonyms,
     &NeedNothing, &CreateSynonym, &DropSchemaObject},
    {Table, "table", "tables", "Tables", "TABLE", Tables, 5, true, true, &CollectTables, &NeedColumnUses,
     &CreateTable, &DropSchemaObject},
    {Column, "column", "tables", "Tables", "COLUMN", Tables, 5, false, true, &CollectNothing, &NeedOwnTable,
     &AddColumn, &DropColumn},
    {Key, "key", "tables", "Tables", "CONSTRAINT", Tables, 5, false, true, &CollectNothing, &NeedOwnTable,
     &AddKey, &DropConstraint},
    {Check, "check", "tables", "Constraints", "CONSTRAINT", Constraints, 6, false, true, &CollectTableParts,
     &NeedConstraintUses, &CreateCheck, &DropConstraint},
    {Default, "default", "tables", "Constraints", "CONSTRAINT", Constraints, 6, false, true,
     &CollectTableParts, &NeedConstraintUses, &CreateDefault, &DropConstraint},
    {Index, "index", "indexes", "Indexes", "INDEX", Indexes, 7, false, false, &CollectTableParts,
     &NeedOwnTable, &CreateIndex, &DropIndex},
    {ForeignKey, "foreign key", "fk", "ForeignKeys", "CONSTRAINT", ForeignKeys, 8, false, false,
     &CollectTableParts, &NeedReferencedKey, &CreateForeignKey, &DropConstraint},
    {View, "view", "views", "Views", "VIEW", ViewsAndFunctions, 9, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject},
    {Function, "function", "functions", "Functions", "FUNCTION", ViewsAndFunctions, 10, true, false,
     &CollectModules, &NeedModuleUses, &CreateModule, &DropSchemaObject},
    {Procedure, "procedure", "procs", "Procedures", "PROCEDURE", Procedures, 11, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject},
    {Trigger, "trigger", "triggers", "Triggers", "TRIGGER", Triggers, 12, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject},
    {Property, "extended property", "properties", "ExtendedProperties", "", ExtendedProperties, 13, false,
     false, &CollectProperties, &NeedNothing, &CreateProperties, &DropProperties},
    // Users and roles come before the schemas they own, users first, as roles may be theirs.
    {User, "user", "security", "Users", "USER", Schemas, -2, false, false, &CollectPrincipals, &NeedNothing,
     &CreateUser, &DropPrincipal},
    {Role, "role", "security", "Roles", "ROLE", Schemas, -1, false, false, &CollectPrincipals, &NeedRoleOwner,
     &CreateRole, &DropPrincipal},
    {ApplicationRole, "application role", "security", "Roles", "APPLICATION ROLE", Schemas, -1, false, false,
     &CollectPrincipals, &NeedNothing, &CreateApplicationRole, &DropPrincipal},
    {RoleMember, "role member", "security", "RoleMembers", "", Permissions, 0, false, false,
     &CollectRoleMembers, &NeedRoleAndMember, &AddRoleMember, &DropRoleMember},
    {Owner, "owner", "security", "Owners", "", Permissions, 1, false, false, &CollectOwners,
     &NeedObjectAndOwner, &ChangeOwner, &DropNothing},
    {Permission, "permission", "security", "Permissions", "", Permissions, 2, false, false,
     &CollectPermissions, &NeedSecurableAndGrantees, &GrantPermissions, &DropNothing},
}};

constexpr bool IsWhole() {
    for (size_t i = 0; i < g_aKinds.size(); ++i)
        if (static_cast<size_t>(g_aKinds[i].eKind) != i)
            return false;
    return true;
}
static_assert(IsWhole(), "the kinds table has a row for each kind, in the kinds' order");

struct TSectionRow {
    eRecreateSection eSection;
    std::string_view strName;
};

// The sections in apply order; a section's file is numbered by its place here, Clean's 00.
constexpr std::array<TSectionRow, 16> g_aSections = {{{Clean, "Clean"},
                                                      {Schemas, "Schemas"},
                                                      {Types, "Types"},
                                                      {Sequences, "Sequences"},
                                                      {Synonyms, "Synonyms"},
                                                      {TableFunctions, "TableFunctions"},
                                                      {Tables, "Tables"},
                                                      {Data, "Data"},
                                                      {Constraints, "Constraints"},
                                                      {Indexes, "Indexes"},
                                                      {ForeignKeys, "ForeignKeys"},
                                                      {ViewsAndFunctions, "ViewsAndFunctions"},
                                                      {Procedures, "Procedures"},
                                                      {Triggers, "Triggers"},
                                                      {ExtendedProperties, "ExtendedProperties"},
                                                      {Permissions, "Permissions"}}};

constexpr bool AreSectionsWhole() {
    for (size_t i = 0; i < g_aSections.size(); ++i)
        if (static_cast<size_t>(g_aSections[i].eSection) != i)
            return false;
    return static_cast<size_t>(Permissions) + 1 == g_aSections.size();
}
static_assert(AreSectionsWhole(), "the sections table has a row for each section, in apply order");

} // namespace

const std::array<TRecreateKind, MODEL_KIND_COUNT>& RecreateKinds() {
    return g_aKinds;
}

const TRecreateKind& RecreateKind(eModelKind eKind) {
    return g_aKinds[static_cast<size_t>(eKind)];
}

std::vector<std::string_view> RecreateKindWords() {
    std::vector<std::string_view> aWords;
    for (const TRecreateKind& kind : g_aKinds)
        if (std::find(aWords.begin(), aWords.end(), kind.strWord) == aWords.end())
            aWords.push_back(kind.strWord);
    return aWords;
}

std::string_view RecreateSectionName(eRecreateSection eSection) {
    return g_aSections[static_cast<size_t>(eSection)].strName;
}

std::string RecreateSectionFileName(eRecreateSection eSection) {
    const size_t nNumber = static_cast<size_t>(eSection);
    return (nNumber < 10 ? "0" : "") + std::to_string(nNumber) + "-" +
           std::string(RecreateSectionName(eSection));
}

std::string_view RecreateKindFolder(eModelKind eKind) {
    return RecreateKind(eKind).strFolder;
}
