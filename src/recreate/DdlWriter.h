// The statements of the faithful scripts: for each kind the statements that create an object, drop it where
// it exists and change it in place, and the pieces they are made of, for whatever else changes objects (a
// table made anew under another name, a key made again). Writers return statements; Statements.h makes them
// text.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/RecreatePlan.h"
#include "recreate/Statements.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

struct TDdlContext {
    const TCatalogModel& model;
    const TRecreatePlan& plan;
};

// What a writer writes: an object of the model under its key, a plan's step or an object a comparison found.
// The items of one sorted list that the other lacks, in the list's order: what an ALTER adds or drops of a
// stoplist's words or a search property list's properties.
template <typename T>
std::vector<T> SortedWithout(const std::vector<T>& aItems, const std::vector<T>& aOthers) {
    std::vector<T> aLeft;
    std::set_difference(aItems.begin(), aItems.end(), aOthers.begin(), aOthers.end(),
                        std::back_inserter(aLeft));
    return aLeft;
}

struct TDdlObject {
    const TModelKey& key;
    const TPlanObject& object;
};

// What the server that runs a script takes beyond T-SQL that every version of SQL Server since 2012 takes.
struct TServerDialect {
    bool bCreateOrAlter = false; // CREATE OR ALTER for modules (SQL Server 2016 SP1 and later)
    // ALTER TABLE ... ALTER COLUMN states NULL or NOT NULL, and COLLATE; without it, a column's nullability
    // or collation changes only by rebuilding its table.
    bool bAlterColumnNullability = true;
};

// What an object is changed in place to: TO's model, the server's T-SQL, and whether a sequence that starts
// elsewhere is restarted.
struct TAlterContext {
    const TDdlContext& to;
    const TServerDialect& dialect;
    bool bRestartSequences = false;
};

// Pieces of a table (TableDdl.cpp), without a line end.
// "ALTER TABLE [schema].[table]"
std::string AlterTable(const TModelTable& table);
// [name] and its type or computation, with the default given inline (a table type's without a name).
std::string ColumnDefinition(const TModelColumn& column, const TCatalogModel& model,
                             const TModelDefault* pDefault, bool bTableType);
// The type with COLLATE where it differs from the database's, SPARSE, MASKED WITH, IDENTITY, ROWGUIDCOL and
// NULL or NOT NULL.
std::string ColumnType(const TModelColumn& column, const TCatalogModel& model);
// CONSTRAINT [name] PRIMARY KEY|UNIQUE CLUSTERED|NONCLUSTERED (keys) WITH (...) ON ... (a table type's
// without a name, options or data space).
std::string KeyConstraint(const TModelTable& table, const TModelIndex& index, bool bTableType);
// CREATE TABLE [schema].[name] with the table's columns alone, on its data space.
TStatement ColumnsTableStatement(const TModelTable& table, const std::string& strName,
                                 const TCatalogModel& model);
// CREATE TYPE ... AS TABLE (...).
TStatement TableTypeStatement(const TModelType& type, const TCatalogModel& model);
// CHECK [NOT FOR REPLICATION] (expression)
std::string CheckClause(const TModelCheck& check);
// ALTER TABLE ... NOCHECK CONSTRAINT [name]: the constraint stays but is not enforced.
TStatement DisableConstraint(const TModelTable& table, const std::string& strName);
// ALTER TABLE ... [WITH CHECK] CHECK CONSTRAINT [name]; bCheckRows checks the rows it holds.
TStatement EnableConstraint(const TModelTable& table, const std::string& strName, bool bCheckRows);

// Statements of the database's storage and of the kinds of tables beside the ordinary (StorageDdl.cpp,
// TableKindsDdl.cpp), for what else writes them: the database's script, the rows of a table with a period.
// A boundary value as a literal of its type.
std::string BoundaryLiteral(const TModelBoundary& boundary);
// Before and after a table's rows are written back exactly: the period dropped, so that its columns take
// the rows' values, and added again, its columns hidden again.
TStatements DropPeriod(const TModelTable& table);
TStatements AddPeriod(const TModelTable& table);
// SYSTEM_VERSIONING = OFF where the table has it; ON with the history table and retention.
TStatements VersioningOff(const TModelTable& table);
TStatements VersioningOn(const TModelTable& table);
// " MASKED WITH (FUNCTION = '...')" of a masked column; nothing for another.
std::string MaskClause(const TModelColumn& column);
// FILTER PREDICATE [s].[f]([c]) ON [s].[t], BLOCK PREDICATE ... AFTER INSERT (PolicyDdl.cpp)
std::string PredicateClause(const TModelSecurityPredicate& predicate);

// What a kind's row in the kinds table creates and drops with.
TStatements CreateSchema(TDdlObject object, const TDdlContext& context);
TStatements CreateAliasType(TDdlObject object, const TDdlContext& context);
TStatements CreateTableType(TDdlObject object, const TDdlContext& context);
TStatements CreateSequence(TDdlObject object, const TDdlContext& context);
TStatements CreateSynonym(TDdlObject object, const TDdlContext& context);
TStatements CreateTable(TDdlObject object, const TDdlContext& context);
// ALTER TABLE ... ADD the column, with its default when the plan writes that inline; ALTER TABLE ... ADD the
// key.
TStatements AddColumn(TDdlObject object, const TDdlContext& context);
TStatements AddKey(TDdlObject object, const TDdlContext& context);
TStatements CreateCheck(TDdlObject object, const TDdlContext& context);
TStatements CreateDefault(TDdlObject object, const TDdlContext& context);
TStatements CreateIndex(TDdlObject object, const TDdlContext& context);
// A primary or secondary XML index, for CreateIndex.
TStatements CreateXmlIndex(TDdlObject object, const TDdlContext& context);
TStatements CreateForeignKey(TDdlObject object, const TDdlContext& context);
// The definition whole, as stored, after the SET options it was created with.
TStatements CreateModule(TDdlObject object, const TDdlContext& context);
// The properties of an object, or one property.
TStatements CreateProperties(TDdlObject object, const TDdlContext& context);
// ALTER DATABASE CURRENT ADD FILEGROUP with its files under the server's default data path, where it has
// none of that name; CREATE PARTITION FUNCTION and SCHEME.
TStatements CreateFilegroup(TDdlObject object, const TDdlContext& context);
TStatements CreatePartitionFunction(TDdlObject object, const TDdlContext& context);
TStatements CreatePartitionScheme(TDdlObject object, const TDdlContext& context);
// ALTER TABLE ... SET (SYSTEM_VERSIONING = ON (...)); ALTER TABLE ... ADD CONSTRAINT ... CONNECTION (...).
TStatements CreateVersioning(TDdlObject object, const TDdlContext& context);
TStatements CreateEdgeConstraint(TDdlObject object, const TDdlContext& context);
// CREATE USER, CREATE ROLE, CREATE APPLICATION ROLE, ALTER ROLE ... ADD MEMBER, ALTER AUTHORIZATION, and
// GRANT, DENY or REVOKE for each permission on a securable (SecurityDdl.cpp).
TStatements CreateUser(TDdlObject object, const TDdlContext& context);
TStatements CreateRole(TDdlObject object, const TDdlContext& context);
TStatements CreateApplicationRole(TDdlObject object, const TDdlContext& context);
TStatements AddRoleMember(TDdlObject object, const TDdlContext& context);
TStatements ChangeOwner(TDdlObject object, const TDdlContext& context);
TStatements GrantPermissions(TDdlObject object, const TDdlContext& context);
// CREATE SECURITY POLICY with its predicates, STATE and SCHEMABINDING written always (PolicyDdl.cpp).
TStatements CreateSecurityPolicy(TDdlObject object, const TDdlContext& context);
// CREATE STATISTICS on the table's columns (StatisticsDdl.cpp).
TStatements CreateStatistic(TDdlObject object, const TDdlContext& context);
// CREATE FULLTEXT CATALOG and CREATE FULLTEXT INDEX (FullTextDdl.cpp).
TStatements CreateFullTextCatalog(TDdlObject object, const TDdlContext& context);
TStatements CreateFullTextIndex(TDdlObject object, const TDdlContext& context);
// CREATE FULLTEXT STOPLIST, then ALTER FULLTEXT STOPLIST ... ADD for each word (FullTextDdl.cpp).
TStatements CreateFullTextStoplist(TDdlObject object, const TDdlContext& context);
// CREATE SEARCH PROPERTY LIST, then ALTER SEARCH PROPERTY LIST ... ADD for each property
// (SearchPropertyListDdl.cpp).
TStatements CreateSearchPropertyList(TDdlObject object, const TDdlContext& context);
// CREATE XML SCHEMA COLLECTION with the text as the server holds it (XmlDdl.cpp).
TStatements CreateXmlSchemaCollection(TDdlObject object, const TDdlContext& context);

// DROP SCHEMA IF EXISTS [name]
TStatements DropSchema(TDdlObject object, const TDdlContext& context);
// DROP <the kind's word> IF EXISTS [schema].[name]
TStatements DropSchemaObject(TDdlObject object, const TDdlContext& context);
// DROP TABLE IF EXISTS, after SYSTEM_VERSIONING = OFF for a system-versioned table
TStatements DropTable(TDdlObject object, const TDdlContext& context);
// The files and the filegroup removed where they are; a MEMORY_OPTIMIZED_DATA filegroup stays, as T-SQL
// cannot remove it
TStatements DropFilegroup(TDdlObject object, const TDdlContext& context);
// DROP PARTITION FUNCTION or SCHEME [name] where it exists
TStatements DropPartitionObject(TDdlObject object, const TDdlContext& context);
// SYSTEM_VERSIONING = OFF where the table is system-versioned
TStatements DropVersioning(TDdlObject object, const TDdlContext& context);
// ALTER TABLE [schema].[table] DROP COLUMN [name]
TStatements DropColumn(TDdlObject object, const TDdlContext& context);
// ALTER TABLE [schema].[table] DROP CONSTRAINT IF EXISTS [name], where the table exists
TStatements DropConstraint(TDdlObject object, const TDdlContext& context);
// DROP INDEX IF EXISTS [name] ON [schema].[table], where the table exists
TStatements DropIndex(TDdlObject object, const TDdlContext& context);
// DROP USER, ROLE or APPLICATION ROLE [name] where it exists
TStatements DropPrincipal(TDdlObject object, const TDdlContext& context);
// ALTER ROLE [role] DROP MEMBER [member] where it is one
TStatements DropRoleMember(TDdlObject object, const TDdlContext& context);
// DROP TRIGGER IF EXISTS [name] ON DATABASE
TStatements DropDatabaseTrigger(TDdlObject object, const TDdlContext& context);
// DROP STATISTICS [schema].[table].[name] where they exist
TStatements DropStatistic(TDdlObject object, const TDdlContext& context);
// DROP XML SCHEMA COLLECTION [schema].[name] where it exists
TStatements DropXmlSchemaCollection(TDdlObject object, const TDdlContext& context);
// DROP FULLTEXT CATALOG and DROP FULLTEXT INDEX where they exist (no IF EXISTS form)
TStatements DropFullTextCatalog(TDdlObject object, const TDdlContext& context);
TStatements DropFullTextIndex(TDdlObject object, const TDdlContext& context);
TStatements DropFullTextStoplist(TDdlObject object, const TDdlContext& context);
TStatements DropSearchPropertyList(TDdlObject object, const TDdlContext& context);
// Nothing: an owner and permissions go with their object or principal
TStatements DropNothing(TDdlObject object, const TDdlContext& context);
// sp_dropextendedproperty for each property of an object that is there, or for the one property
TStatements DropProperties(TDdlObject object, const TDdlContext& context);

// What the kinds' rules change in place with: FROM's object becomes TO's.
// ALTER AUTHORIZATION ON SCHEMA to the schema's owner
TStatements AlterSchemaOwner(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER SEQUENCE with the options that differ alone
TStatements AlterSequence(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER TABLE ... ALTER COLUMN with TO's type and, where the server takes them, its collation and nullability
TStatements AlterColumn(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// The module's statements with CREATE OR ALTER for its CREATE
TStatements AlterModule(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ENABLE or DISABLE TRIGGER
TStatements EnableTrigger(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// sp_updateextendedproperty with TO's value
TStatements UpdateProperty(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// SYSTEM_VERSIONING = ON with TO's retention alone
TStatements AlterRetention(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// DROP PERIOD FOR SYSTEM_TIME where FROM has one, ADD PERIOD where TO has one
TStatements AlterPeriod(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER COLUMN ... ADD or DROP HIDDEN
TStatements AlterColumnHidden(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// Nothing: what another change of the same table makes (a period's columns become GENERATED ALWAYS as the
// period is added)
TStatements AlteredElsewhere(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER TABLE ... ALTER COLUMN ... ADD MASKED WITH TO's function, or DROP MASKED
TStatements AlterColumnMask(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// sp_settriggerorder: None for what FROM's trigger is first or last of and TO's is not, then TO's order
TStatements SetTriggerOrder(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER SECURITY POLICY: the predicates added, changed and dropped, and the state
TStatements AlterSecurityPolicy(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER FULLTEXT STOPLIST ... DROP for each word FROM's stoplist has alone, then ADD for each TO's has alone
TStatements AlterStopwords(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER SEARCH PROPERTY LIST ... DROP each property FROM's list has alone, then ADD each TO's has alone
TStatements AlterSearchProperties(const TPlanObject& from, const TPlanObject& to,
                                  const TAlterContext& context);
// sp_autostats turning the statistics' automatic update off (NORECOMPUTE) or on
TStatements AlterStatisticRecompute(const TPlanObject& from, const TPlanObject& to,
                                    const TAlterContext& context);
// ALTER XML SCHEMA COLLECTION ... ADD what TO's text holds after FROM's
TStatements AddXmlSchemas(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// ALTER FULLTEXT CATALOG ... REBUILD WITH TO's accent sensitivity, or AS DEFAULT
TStatements AlterFullTextCatalog(const TPlanObject& from, const TPlanObject& to,
                                 const TAlterContext& context);
// ALTER FULLTEXT INDEX ... SET CHANGE_TRACKING, SET STOPLIST, SET SEARCH PROPERTY LIST, DROP and ADD
// columns, as each differs
TStatements AlterFullTextIndex(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context);
// Whether TO's text is FROM's with more schemas after it: what ADD makes of FROM's collection
bool ExtendsXmlSchemas(const std::string& strFrom, const std::string& strTo);
