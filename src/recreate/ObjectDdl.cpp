// Schema-level objects: schemas, alias types, sequences, synonyms and modules.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

namespace {

std::string OnOff(bool bOn) {
    return bOn ? "ON" : "OFF";
}

template <typename T> const T& Record(const TPlanStep& step) {
    return *std::get<const T*>(step.object);
}

// The schema and name of the table or view a trigger is on.
std::string ParentName(const TModelModule& module, const TCatalogModel& model) {
    if (model.FindTable(module.strSchema, module.strParent) ||
        model.FindModule(module.strSchema, module.strParent))
        return QuoteName(module.strSchema, module.strParent);
    return std::string();
}

} // namespace

std::string SetOptions(bool bAnsiNulls, bool bQuotedIdentifier) {
    return "SET ANSI_NULLS " + OnOff(bAnsiNulls) + ";" + kLineEnd + "SET QUOTED_IDENTIFIER " +
           OnOff(bQuotedIdentifier) + ";" + kLineEnd + kGo;
}

std::string CreateSchema(const TPlanStep& step, const TDdlContext& /*context*/) {
    const TModelSchema& schema = Record<TModelSchema>(step);
    std::string str = "CREATE SCHEMA " + QuoteName(schema.strName);
    if (!schema.strOwner.empty())
        str += " AUTHORIZATION " + QuoteName(schema.strOwner);
    return str + ";" + kLineEnd + kGo;
}

std::string CreateAliasType(const TPlanStep& step, const TDdlContext& /*context*/) {
    const TModelType& type = Record<TModelType>(step);
    return "CREATE TYPE " + QuoteName(type.strSchema, type.strName) + " FROM " + DataTypeText(type.base) +
           (type.bNullable ? " NULL;" : " NOT NULL;") + kLineEnd + kGo;
}

std::string CreateSequence(const TPlanStep& step, const TDdlContext& /*context*/) {
    const TModelSequence& sequence = Record<TModelSequence>(step);
    std::string str = "CREATE SEQUENCE " + QuoteName(sequence.strSchema, sequence.strName) + " AS " +
                      DataTypeText(sequence.type) + " START WITH " + sequence.strStart + " INCREMENT BY " +
                      sequence.strIncrement + " MINVALUE " + sequence.strMinimum + " MAXVALUE " +
                      sequence.strMaximum + (sequence.bCycling ? " CYCLE" : " NO CYCLE");
    // A cache of the server's default size is what no CACHE clause gives.
    if (!sequence.bCached)
        str += " NO CACHE";
    else if (!sequence.strCacheSize.empty())
        str += " CACHE " + sequence.strCacheSize;
    return str + ";" + kLineEnd + kGo;
}

std::string CreateSynonym(const TPlanStep& step, const TDdlContext& /*context*/) {
    const TModelSynonym& synonym = Record<TModelSynonym>(step);
    return "CREATE SYNONYM " + QuoteName(synonym.strSchema, synonym.strName) + " FOR " +
           synonym.strBaseObject + ";" + kLineEnd + kGo;
}

// The definition whole, as stored, first in its batch after the SET options it was created with; options
// left OFF are set back ON after it, so that what follows runs as a fresh session would.
std::string CreateModule(const TPlanStep& step, const TDdlContext& context) {
    const TModelModule& module = Record<TModelModule>(step);
    // Definitions are most of a catalog's text: copied once, into a text long enough for the rest.
    std::string str = SetOptions(module.bAnsiNulls, module.bQuotedIdentifier);
    str.reserve(str.size() * 2 + module.strDefinition.size() + 2 * kLineEnd.size() + kGo.size());
    AppendLine(str, module.strDefinition);
    str += kGo;
    if (module.Kind() == eModelKind::Trigger && module.bDisabled)
        str += "DISABLE TRIGGER " + QuoteName(module.strSchema, module.strName) + " ON " +
               ParentName(module, context.model) + ";" + kLineEnd + kGo;
    if (!module.bAnsiNulls || !module.bQuotedIdentifier)
        str += SetOptions(true, true);
    return str;
}

std::string DropSchema(const TPlanStep& step, const TDdlContext& /*context*/) {
    return "DROP SCHEMA IF EXISTS " + QuoteName(step.key.strName) + ";" + kLineEnd + kGo;
}

std::string DropSchemaObject(const TPlanStep& step, const TDdlContext& /*context*/) {
    return "DROP " + std::string(RecreateKind(step.key.eKind).strSqlWord) + " IF EXISTS " +
           QuoteName(step.key.strSchema, step.key.strName) + ";" + kLineEnd + kGo;
}
