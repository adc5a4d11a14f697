// Schema-level objects: schemas, alias types, sequences, synonyms, modules and extended properties.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <algorithm>
#include <optional>

namespace {

std::string OnOff(bool bOn) {
    return bOn ? "ON" : "OFF";
}

std::string SetOptions(bool bAnsiNulls, bool bQuotedIdentifier) {
    return "SET ANSI_NULLS " + OnOff(bAnsiNulls) + ";" + kLineEnd + "SET QUOTED_IDENTIFIER " +
           OnOff(bQuotedIdentifier) + ";" + kLineEnd + kGo;
}

// The schema and name of the table or view a trigger is on.
std::string ParentName(int nObjectId, const TCatalogModel& model) {
    if (const TModelTable* pTable = model.FindTable(nObjectId))
        return QuoteName(pTable->strSchema, pTable->strName);
    if (const TModelModule* pModule = model.FindModule(nObjectId))
        return QuoteName(pModule->strSchema, pModule->strName);
    return std::string();
}

// sql_variant values keep their type where it is text or a whole number; other types come back as text.
std::string PropertyValue(const TModelExtendedProperty& property) {
    if (!property.value)
        return "NULL";
    const std::string& strType = property.strBaseType;
    if (strType == "varchar" || strType == "char")
        return AnsiLiteral(*property.value);
    if (strType == "int" || strType == "bigint" || strType == "smallint" || strType == "tinyint" ||
        strType == "bit")
        return "CAST(" + UnicodeLiteral(*property.value) + " AS " + strType + ")";
    return UnicodeLiteral(*property.value);
}

struct TLevel {
    std::string strType;
    std::string strName;
};

std::string AddProperty(const TModelExtendedProperty& property, const std::vector<TLevel>& aLevels) {
    std::string str = "EXEC sys.sp_addextendedproperty @name = " + UnicodeLiteral(property.strName) +
                      ", @value = " + PropertyValue(property);
    for (size_t i = 0; i < aLevels.size(); ++i) {
        const std::string strLevel = std::to_string(i);
        str += ", @level" + strLevel + "type = " + UnicodeLiteral(aLevels[i].strType) + ", @level" +
               strLevel + "name = " + UnicodeLiteral(aLevels[i].strName);
    }
    return str + ";" + kLineEnd;
}

const char* ModuleLevel(const TModelModule& module) {
    if (module.strType == "V")
        return "VIEW";
    if (module.strType == "P")
        return "PROCEDURE";
    return "FUNCTION";
}

// The levels that name the part of a table a property is on: a column, a constraint or an index.
std::vector<TLevel> TableLevels(const TModelTable& table, const TModelExtendedProperty& property) {
    std::vector<TLevel> aLevels{{"SCHEMA", table.strSchema}, {"TABLE", table.strName}};
    if (property.nClass == 7) {
        if (const TModelIndex* pIndex = table.FindIndex(property.nMinorId))
            aLevels.push_back({"INDEX", pIndex->strName});
        return aLevels;
    }
    if (property.nMajorId != table.nObjectId) {
        for (const TModelCheck& check : table.aChecks)
            if (check.nObjectId == property.nMajorId)
                aLevels.push_back({"CONSTRAINT", check.strName});
        for (const TModelDefault& def : table.aDefaults)
            if (def.nObjectId == property.nMajorId)
                aLevels.push_back({"CONSTRAINT", def.strName});
        for (const TModelForeignKey& key : table.aForeignKeys)
            if (key.nObjectId == property.nMajorId)
                aLevels.push_back({"CONSTRAINT", key.strName});
        return aLevels;
    }
    if (property.nMinorId != 0)
        if (const TModelColumn* pColumn = table.FindColumn(property.nMinorId))
            aLevels.push_back({"COLUMN", pColumn->strName});
    return aLevels;
}

std::vector<TLevel> ModuleLevels(const TModelModule& module, const TCatalogModel& model) {
    if (module.strType != "TR")
        return {{"SCHEMA", module.strSchema}, {ModuleLevel(module), module.strName}};
    if (const TModelTable* pTable = model.FindTable(module.nParentObjectId))
        return {{"SCHEMA", module.strSchema}, {"TABLE", pTable->strName}, {"TRIGGER", module.strName}};
    const TModelModule* pView = model.FindModule(module.nParentObjectId);
    return {{"SCHEMA", module.strSchema}, {"VIEW", pView ? pView->strName : ""}, {"TRIGGER", module.strName}};
}

// The levels of a property of the step's object (none for the database's own); nullopt when the property is
// on a part the model lacks (a view's column).
std::optional<std::vector<TLevel>>
PropertyLevels(const TPlanStep& step, const TModelExtendedProperty& property, const TCatalogModel& model) {
    if (property.nClass == 0)
        return std::vector<TLevel>();
    using TLevels = std::vector<TLevel>;
    if (step.pSchema)
        return TLevels{{"SCHEMA", step.pSchema->strName}};
    if (step.pType)
        return TLevels{{"SCHEMA", step.pType->strSchema}, {"TYPE", step.pType->strName}};
    if (step.pSequence)
        return TLevels{{"SCHEMA", step.pSequence->strSchema}, {"SEQUENCE", step.pSequence->strName}};
    if (step.pSynonym)
        return TLevels{{"SCHEMA", step.pSynonym->strSchema}, {"SYNONYM", step.pSynonym->strName}};
    if (step.pModule && property.nMinorId == 0)
        return ModuleLevels(*step.pModule, model);
    if (step.pModule)
        return std::nullopt;
    std::vector<TLevel> aLevels = TableLevels(*step.pTable, property);
    if (aLevels.size() == 2 && (property.nMinorId != 0 || property.nMajorId != step.pTable->nObjectId))
        return std::nullopt;
    return aLevels;
}

} // namespace

std::string ScriptSchema(const TModelSchema& schema) {
    std::string str = "CREATE SCHEMA " + QuoteName(schema.strName);
    if (!schema.strOwner.empty())
        str += " AUTHORIZATION " + QuoteName(schema.strOwner);
    return str + ";" + kLineEnd + kGo;
}

std::string ScriptAliasType(const TModelType& type) {
    return "CREATE TYPE " + QuoteName(type.strSchema, type.strName) + " FROM " + DataTypeText(type.base) +
           (type.bNullable ? " NULL;" : " NOT NULL;") + kLineEnd + kGo;
}

std::string ScriptSequence(const TModelSequence& sequence) {
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

std::string ScriptSynonym(const TModelSynonym& synonym) {
    return "CREATE SYNONYM " + QuoteName(synonym.strSchema, synonym.strName) + " FOR " +
           synonym.strBaseObject + ";" + kLineEnd + kGo;
}

// The definition whole, as stored, first in its batch after the SET options it was created with; options
// left OFF are set back ON after it, so that what follows runs as a fresh session would.
std::string ScriptModule(const TModelModule& module, const TCatalogModel& model) {
    // Definitions are most of a catalog's text: copied once, into a text long enough for the rest.
    std::string str = SetOptions(module.bAnsiNulls, module.bQuotedIdentifier);
    str.reserve(str.size() * 2 + module.strDefinition.size() + 2 * kLineEnd.size() + kGo.size());
    AppendLine(str, module.strDefinition);
    str += kGo;
    if (module.strType == "TR" && module.bDisabled)
        str += "DISABLE TRIGGER " + QuoteName(module.strSchema, module.strName) + " ON " +
               ParentName(module.nParentObjectId, model) + ";" + kLineEnd + kGo;
    if (!module.bAnsiNulls || !module.bQuotedIdentifier)
        str += SetOptions(true, true);
    return str;
}

std::string ScriptExtendedProperties(const TPlanStep& step, const TCatalogModel& model) {
    std::string str;
    for (const TModelExtendedProperty* pProperty : step.aProperties) {
        if (const std::optional<std::vector<TLevel>> aLevels = PropertyLevels(step, *pProperty, model))
            str += AddProperty(*pProperty, *aLevels);
    }
    return str.empty() ? str : str + kGo;
}
