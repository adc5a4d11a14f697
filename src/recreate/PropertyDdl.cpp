// Extended properties: the levels that name what a property is on, and the system procedures that add,
// change and drop one.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

namespace {

struct TLevel {
    std::string_view strType;
    std::string strName;
};

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

// The levels that name the property's target: none for the database's own, the schema, the schema and
// object, the table (or a trigger's table or view) and its part, or the object and its column or parameter.
std::vector<TLevel> PropertyLevels(const TModelExtendedProperty& property, const TCatalogModel& model) {
    if (!property.target)
        return {};
    const TModelKey& target = *property.target;
    const std::string_view strWord = RecreateKind(target.eKind).strSqlWord;
    if (target.eKind == eModelKind::Schema)
        return {{strWord, target.strName}};
    if (target.eKind == eModelKind::DatabaseTrigger)
        return {{"TRIGGER", target.strName}};
    if (target.eKind == eModelKind::Trigger) {
        const bool bOnTable = model.FindTable(target.strSchema, target.strTable) != nullptr;
        return {{"SCHEMA", target.strSchema},
                {bOnTable ? "TABLE" : "VIEW", target.strTable},
                {strWord, target.strName}};
    }
    if (!target.strTable.empty())
        return {{"SCHEMA", target.strSchema}, {"TABLE", target.strTable}, {strWord, target.strName}};
    std::vector<TLevel> aLevels{{"SCHEMA", target.strSchema}, {strWord, target.strName}};
    if (!property.strColumn.empty())
        aLevels.push_back({"COLUMN", property.strColumn});
    if (!property.strParameter.empty())
        aLevels.push_back({"PARAMETER", property.strParameter});
    return aLevels;
}

std::string PropertyCall(const char* pszProcedure, const TModelExtendedProperty& property, bool bWithValue,
                         const TCatalogModel& model) {
    std::string str =
        std::string("EXEC sys.") + pszProcedure + " @name = " + UnicodeLiteral(property.strName);
    if (bWithValue)
        str += ", @value = " + PropertyValue(property);
    const std::vector<TLevel> aLevels = PropertyLevels(property, model);
    for (size_t i = 0; i < aLevels.size(); ++i) {
        const std::string strLevel = std::to_string(i);
        str += ", @level" + strLevel + "type = " + UnicodeLiteral(aLevels[i].strType) + ", @level" +
               strLevel + "name = " + UnicodeLiteral(aLevels[i].strName);
    }
    return str + ";";
}

// IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(...)), which takes the three levels, NULL where
// unused.
std::string IfPropertyExists(const TModelExtendedProperty& property, const TCatalogModel& model) {
    std::string str =
        "IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(" + UnicodeLiteral(property.strName);
    const std::vector<TLevel> aLevels = PropertyLevels(property, model);
    for (size_t i = 0; i < 3; ++i)
        str += i < aLevels.size()
                   ? ", " + UnicodeLiteral(aLevels[i].strType) + ", " + UnicodeLiteral(aLevels[i].strName)
                   : std::string(", NULL, NULL");
    return str + ")) ";
}

std::string AddProperty(const TModelExtendedProperty& property, const TCatalogModel& model) {
    return PropertyCall("sp_addextendedproperty", property, true, model);
}

std::string DropProperty(const TModelExtendedProperty& property, const TCatalogModel& model) {
    return PropertyCall("sp_dropextendedproperty", property, false, model);
}

// The drop of a property where the object it is on may have gone, and the property with it.
std::string DropPropertyThere(const TModelExtendedProperty& property, const TCatalogModel& model) {
    return IfPropertyExists(property, model) + DropProperty(property, model);
}

// One batch of calls: for each property of an object, or for the one property a comparison found.
TStatements PropertyCalls(const TPlanObject& object, const TCatalogModel& model,
                          std::string (*pfnCall)(const TModelExtendedProperty&, const TCatalogModel&)) {
    if (const auto* ppProperty = std::get_if<const TModelExtendedProperty*>(&object))
        return {{pfnCall(**ppProperty, model)}};
    TStatements aStatements;
    for (const TModelExtendedProperty* pProperty : std::get<TPropertySet>(object).aProperties)
        aStatements.push_back({pfnCall(*pProperty, model)});
    return aStatements;
}

} // namespace

TStatements CreateProperties(TDdlObject object, const TDdlContext& context) {
    return PropertyCalls(object.object, context.model, &AddProperty);
}

// A property a comparison found is there: FROM has it.
TStatements DropProperties(TDdlObject object, const TDdlContext& context) {
    return PropertyCalls(object.object, context.model,
                         std::holds_alternative<TPropertySet>(object.object) ? &DropPropertyThere
                                                                             : &DropProperty);
}

TStatements UpdateProperty(const TPlanObject& /*from*/, const TPlanObject& to, const TAlterContext& context) {
    return {{PropertyCall("sp_updateextendedproperty", *std::get<const TModelExtendedProperty*>(to), true,
                          context.to.model)}};
}
