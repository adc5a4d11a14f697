// The statements of the faithful scripts: for each kind the statement that creates an object and the one
// that drops it where it exists, and the pieces they are made of, for whatever else changes objects (a column
// added, a key made again). Each text is whole batches, every one ending with a line holding GO, unless it
// says it is a piece.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/RecreatePlan.h"

#include <string>

struct TDdlContext {
    const TCatalogModel& model;
    const TRecreatePlan& plan;
};

// Pieces of a table (TableDdl.cpp), without a line end.
// "ALTER TABLE [schema].[table]"
std::string AlterTable(const TModelTable& table);
// [name] and its type or computation, with the default given inline (a table type's without a name).
std::string ColumnDefinition(const TModelColumn& column, const TCatalogModel& model,
                             const TModelDefault* pDefault, bool bTableType);
// The type with COLLATE where it differs from the database's, SPARSE, IDENTITY, ROWGUIDCOL and NULL or NOT
// NULL: what ALTER TABLE ... ALTER COLUMN takes after the name, identity aside.
std::string ColumnType(const TModelColumn& column, const TCatalogModel& model);
// CONSTRAINT [name] PRIMARY KEY|UNIQUE CLUSTERED|NONCLUSTERED (keys) WITH (...) ON ... (a table type's
// without a name, options or data space).
std::string KeyConstraint(const TModelTable& table, const TModelIndex& index, bool bTableType);
// CREATE TABLE [schema].[name] with the table's columns alone, on its data space; a whole statement without
// its GO.
std::string ColumnsTableStatement(const TModelTable& table, const std::string& strName,
                                  const TCatalogModel& model);
// CREATE TYPE ... AS TABLE (...); a whole statement without its GO.
std::string TableTypeStatement(const TModelType& type, const TCatalogModel& model);
// CHECK [NOT FOR REPLICATION] (expression)
std::string CheckClause(const TModelCheck& check);
// A whole line: ALTER TABLE ... NOCHECK CONSTRAINT [name]; the constraint stays but is not enforced.
std::string DisableConstraint(const TModelTable& table, const std::string& strName);
// A whole line: ALTER TABLE ... [WITH CHECK] CHECK CONSTRAINT [name]; bCheckRows checks the rows it holds.
std::string EnableConstraint(const TModelTable& table, const std::string& strName, bool bCheckRows);

// Pieces of modules and properties (ObjectDdl.cpp, PropertyDdl.cpp).
// The batch of SET ANSI_NULLS and SET QUOTED_IDENTIFIER.
std::string SetOptions(bool bAnsiNulls, bool bQuotedIdentifier);
// A whole line: EXEC sys.sp_addextendedproperty, sp_updateextendedproperty or sp_dropextendedproperty with
// the levels that name the property's target.
std::string AddProperty(const TModelExtendedProperty& property, const TCatalogModel& model);
std::string UpdateProperty(const TModelExtendedProperty& property, const TCatalogModel& model);
std::string DropProperty(const TModelExtendedProperty& property, const TCatalogModel& model);

// What a kind's row in the kinds table creates and drops with.
std::string CreateSchema(const TPlanStep& step, const TDdlContext& context);
std::string CreateAliasType(const TPlanStep& step, const TDdlContext& context);
std::string CreateTableType(const TPlanStep& step, const TDdlContext& context);
std::string CreateSequence(const TPlanStep& step, const TDdlContext& context);
std::string CreateSynonym(const TPlanStep& step, const TDdlContext& context);
std::string CreateTable(const TPlanStep& step, const TDdlContext& context);
// ALTER TABLE ... ADD the column, with its default when the plan writes that inline; ALTER TABLE ... ADD the
// key.
std::string AddColumn(const TPlanStep& step, const TDdlContext& context);
std::string AddKey(const TPlanStep& step, const TDdlContext& context);
std::string CreateCheck(const TPlanStep& step, const TDdlContext& context);
std::string CreateDefault(const TPlanStep& step, const TDdlContext& context);
std::string CreateIndex(const TPlanStep& step, const TDdlContext& context);
std::string CreateForeignKey(const TPlanStep& step, const TDdlContext& context);
std::string CreateModule(const TPlanStep& step, const TDdlContext& context);
std::string CreateProperties(const TPlanStep& step, const TDdlContext& context);
// CREATE USER, CREATE ROLE, CREATE APPLICATION ROLE, ALTER ROLE ... ADD MEMBER, ALTER AUTHORIZATION, and
// GRANT, DENY or REVOKE for each permission on a securable (SecurityDdl.cpp).
std::string CreateUser(const TPlanStep& step, const TDdlContext& context);
std::string CreateRole(const TPlanStep& step, const TDdlContext& context);
std::string CreateApplicationRole(const TPlanStep& step, const TDdlContext& context);
std::string AddRoleMember(const TPlanStep& step, const TDdlContext& context);
std::string ChangeOwner(const TPlanStep& step, const TDdlContext& context);
std::string GrantPermissions(const TPlanStep& step, const TDdlContext& context);

// DROP SCHEMA IF EXISTS [name]
std::string DropSchema(const TPlanStep& step, const TDdlContext& context);
// DROP <the kind's word> IF EXISTS [schema].[name]
std::string DropSchemaObject(const TPlanStep& step, const TDdlContext& context);
// ALTER TABLE [schema].[table] DROP COLUMN [name]
std::string DropColumn(const TPlanStep& step, const TDdlContext& context);
// ALTER TABLE [schema].[table] DROP CONSTRAINT IF EXISTS [name], where the table exists
std::string DropConstraint(const TPlanStep& step, const TDdlContext& context);
// DROP INDEX IF EXISTS [name] ON [schema].[table], where the table exists
std::string DropIndex(const TPlanStep& step, const TDdlContext& context);
// DROP USER, ROLE or APPLICATION ROLE [name] where it exists
std::string DropPrincipal(const TPlanStep& step, const TDdlContext& context);
// ALTER ROLE [role] DROP MEMBER [member] where it is one
std::string DropRoleMember(const TPlanStep& step, const TDdlContext& context);
// Nothing: an owner and permissions go with their object or principal
std::string DropNothing(const TPlanStep& step, const TDdlContext& context);
// sp_dropextendedproperty for each property that is there
std::string DropProperties(const TPlanStep& step, const TDdlContext& context);
