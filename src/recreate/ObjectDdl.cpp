// Schema-level objects: schemas, alias types, sequences, synonyms and modules, and the triggers of the
// database.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>

namespace {

template <typename T> const T& Record(const TPlanObject& object) {
    return *std::get<const T*>(object);
}

// The schema and name of the table or view a trigger is on.
std::string ParentName(const TModelModule& module, const TCatalogModel& model) {
    if (model.FindTable(module.strSchema, module.strParent) ||
        model.FindModule(module.strSchema, module.strParent))
        return QuoteName(module.strSchema, module.strParent);
    return std::string();
}

TSetOptions ModuleOptions(const TModelModule& module) {
    return {module.bAnsiNulls, module.bQuotedIdentifier};
}

// What ENABLE and DISABLE TRIGGER name: the trigger ON its table or view (strParent), or ON DATABASE.
std::string TriggerTarget(const TModelModule& trigger, const std::string& strParent) {
    if (trigger.bOnDatabase)
        return QuoteName(trigger.strName) + " ON DATABASE";
    return QuoteName(trigger.strSchema, trigger.strName) + " ON " + strParent;
}

// sp_settriggerorder for one statement the trigger fires on: First, Last or None.
TStatement TriggerOrder(const TModelModule& trigger, const std::string& strStatement, const char* pszOrder) {
    const std::string strName =
        trigger.bOnDatabase ? QuoteName(trigger.strName) : QuoteName(trigger.strSchema, trigger.strName);
    std::string str = "EXEC sys.sp_settriggerorder @triggername = " + UnicodeLiteral(strName) +
                      ", @order = N'" + pszOrder + "', @stmttype = " + UnicodeLiteral(strStatement);
    if (trigger.bOnDatabase)
        str += ", @namespace = N'DATABASE'";
    return {str + ";"};
}

const char* OrderWord(const TModelTriggerOrder& order) {
    return order.bFirst ? "First" : "Last";
}

// The definition, alone in its batch under the SET options the module was created with; a disabled trigger
// disabled after it, and a trigger's order set, which every CREATE or ALTER of it sets to none.
TStatements ModuleStatements(const TModelModule& module, const TCatalogModel& model, TStatement definition) {
    TStatements aStatements{std::move(definition)};
    const eModelKind eKind = module.Kind();
    if (eKind != eModelKind::Trigger && eKind != eModelKind::DatabaseTrigger)
        return aStatements;
    if (module.bDisabled)
        aStatements.push_back({"DISABLE TRIGGER " + TriggerTarget(module, ParentName(module, model)) + ";"});
    for (const TModelTriggerOrder& order : module.aOrder)
        aStatements.push_back(TriggerOrder(module, order.strStatement, OrderWord(order)));
    return aStatements;
}

} // namespace

TStatements CreateSchema(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelSchema& schema = Record<TModelSchema>(object.object);
    std::string str = "CREATE SCHEMA " + QuoteName(schema.strName);
    if (!schema.strOwner.empty())
        str += " AUTHORIZATION " + QuoteName(schema.strOwner);
    // T-SQL takes CREATE SCHEMA only as the whole of its batch, as it takes a module's CREATE.
    return {{str + ";", eBatchPlace::Alone}};
}

TStatements CreateAliasType(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelType& type = Record<TModelType>(object.object);
    return {{"CREATE TYPE " + QuoteName(type.strSchema, type.strName) + " FROM " + DataTypeText(type.base) +
             (type.bNullable ? " NULL;" : " NOT NULL;")}};
}

TStatements CreateSequence(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelSequence& sequence = Record<TModelSequence>(object.object);
    std::string str = "CREATE SEQUENCE " + QuoteName(sequence.strSchema, sequence.strName) + " AS " +
                      DataTypeText(sequence.type) + " START WITH " + sequence.strStart + " INCREMENT BY " +
                      sequence.strIncrement + " MINVALUE " + sequence.strMinimum + " MAXVALUE " +
                      sequence.strMaximum + (sequence.bCycling ? " CYCLE" : " NO CYCLE");
    // A cache of the server's default size is what no CACHE clause gives.
    if (!sequence.bCached)
        str += " NO CACHE";
    else if (!sequence.strCacheSize.empty())
        str += " CACHE " + sequence.strCacheSize;
    return {{str + ";"}};
}

TStatements CreateSynonym(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelSynonym& synonym = Record<TModelSynonym>(object.object);
    return {{"CREATE SYNONYM " + QuoteName(synonym.strSchema, synonym.strName) + " FOR " +
             synonym.strBaseObject + ";"}};
}

// A text kept as run (ALTER, CREATE OR ALTER) is written as CREATE: it runs where the module is not.
TStatements CreateModule(TDdlObject object, const TDdlContext& context) {
    const TModelModule& module = Record<TModelModule>(object.object);
    const std::string& strDefinition = module.strDefinition;
    if (AlteringWordsLength(strDefinition, FirstWordAt(strDefinition)))
        return ModuleStatements(module, context.model,
                                {DefinitionAsCreated(strDefinition), eBatchPlace::Alone, ModuleOptions(module)});
    return ModuleStatements(
        module, context.model,
        TStatement::Borrowing(strDefinition, eBatchPlace::Alone, ModuleOptions(module)));
}

TStatements DropSchema(TDdlObject object, const TDdlContext& /*context*/) {
    return {{"DROP SCHEMA IF EXISTS " + QuoteName(object.key.strName) + ";"}};
}

TStatements DropSchemaObject(TDdlObject object, const TDdlContext& /*context*/) {
    return {{"DROP " + std::string(RecreateKind(object.key.eKind).strSqlWord) + " IF EXISTS " +
             QuoteName(object.key.strSchema, object.key.strName) + ";"}};
}

TStatements AlterSchemaOwner(const TPlanObject& /*from*/, const TPlanObject& to,
                             const TAlterContext& /*context*/) {
    const TModelSchema& schema = Record<TModelSchema>(to);
    return {{"ALTER AUTHORIZATION ON SCHEMA::" + QuoteName(schema.strName) + " TO " +
             QuoteName(schema.strOwner) + ";"}};
}

TStatements AlterSequence(const TPlanObject& fromObject, const TPlanObject& toObject,
                          const TAlterContext& context) {
    const TModelSequence& from = Record<TModelSequence>(fromObject);
    const TModelSequence& to = Record<TModelSequence>(toObject);
    std::string str = "ALTER SEQUENCE " + QuoteName(to.strSchema, to.strName);
    if (context.bRestartSequences && from.strStart != to.strStart)
        str += " RESTART WITH " + to.strStart;
    if (from.strIncrement != to.strIncrement)
        str += " INCREMENT BY " + to.strIncrement;
    if (from.strMinimum != to.strMinimum)
        str += " MINVALUE " + to.strMinimum;
    if (from.strMaximum != to.strMaximum)
        str += " MAXVALUE " + to.strMaximum;
    if (from.bCycling != to.bCycling)
        str += to.bCycling ? " CYCLE" : " NO CYCLE";
    if (from.bCached != to.bCached || from.strCacheSize != to.strCacheSize)
        str += !to.bCached ? " NO CACHE" : to.strCacheSize.empty() ? " CACHE" : " CACHE " + to.strCacheSize;
    return {{str + ";"}};
}

// The definition as created with OR ALTER after its CREATE.
TStatements AlterModule(const TPlanObject& /*from*/, const TPlanObject& to, const TAlterContext& context) {
    const TModelModule& module = Record<TModelModule>(to);
    std::string strDefinition = DefinitionAsCreated(module.strDefinition);
    strDefinition.insert(FirstWordAt(strDefinition) + 6, " OR ALTER");
    return ModuleStatements(module, context.to.model,
                            {std::move(strDefinition), eBatchPlace::Alone, ModuleOptions(module)});
}

TStatements EnableTrigger(const TPlanObject& /*from*/, const TPlanObject& to,
                          const TAlterContext& /*context*/) {
    const TModelModule& trigger = Record<TModelModule>(to);
    return {{std::string(trigger.bDisabled ? "DISABLE" : "ENABLE") + " TRIGGER " +
             TriggerTarget(trigger, QuoteName(trigger.strSchema, trigger.strParent)) + ";"}};
}

TStatements SetTriggerOrder(const TPlanObject& fromObject, const TPlanObject& toObject,
                            const TAlterContext& /*context*/) {
    const TModelModule& from = Record<TModelModule>(fromObject);
    const TModelModule& to = Record<TModelModule>(toObject);
    TStatements aStatements;
    for (const TModelTriggerOrder& order : from.aOrder)
        if (std::none_of(to.aOrder.begin(), to.aOrder.end(), [&](const TModelTriggerOrder& other) {
                return other.strStatement == order.strStatement;
            }))
            aStatements.push_back(TriggerOrder(to, order.strStatement, "None"));
    for (const TModelTriggerOrder& order : to.aOrder)
        if (std::find(from.aOrder.begin(), from.aOrder.end(), order) == from.aOrder.end())
            aStatements.push_back(TriggerOrder(to, order.strStatement, OrderWord(order)));
    return aStatements;
}

TStatements DropDatabaseTrigger(TDdlObject object, const TDdlContext& /*context*/) {
    return {{"DROP TRIGGER IF EXISTS " + QuoteName(object.key.strName) + " ON DATABASE;"}};
}
