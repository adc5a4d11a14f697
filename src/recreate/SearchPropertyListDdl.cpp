// Search property lists: made empty, then each property added, as a list that copied another would hold
// that one's properties too; dropped where they exist.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

const TModelSearchPropertyList& ListOf(const TPlanObject& object) {
    return *std::get<const TModelSearchPropertyList*>(object);
}

std::string AlterList(const TModelSearchPropertyList& list) {
    return "ALTER SEARCH PROPERTY LIST " + QuoteName(list.strName);
}

TStatement AddProperty(const TModelSearchPropertyList& list, const TModelSearchProperty& property) {
    std::string str = AlterList(list) + " ADD " + UnicodeLiteral(property.strName) +
                      " WITH (PROPERTY_SET_GUID = " + SqlLiteral(property.strSetGuid) +
                      ", PROPERTY_INT_ID = " + std::to_string(property.nIntId);
    if (property.description)
        str += ", PROPERTY_DESCRIPTION = " + UnicodeLiteral(*property.description);
    return {str + ");"};
}

} // namespace

TStatements CreateSearchPropertyList(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelSearchPropertyList& list = ListOf(object.object);
    TStatements aStatements = {{"CREATE SEARCH PROPERTY LIST " + QuoteName(list.strName) + ";"}};
    for (const TModelSearchProperty& property : list.aProperties)
        aStatements.push_back(AddProperty(list, property));
    return aStatements;
}

TStatements DropSearchPropertyList(TDdlObject object, const TDdlContext& /*context*/) {
    const std::string& strName = object.key.strName;
    return {{"IF EXISTS (SELECT 1 FROM sys.registered_search_property_lists WHERE name = " +
             UnicodeLiteral(strName) + ") DROP SEARCH PROPERTY LIST " + QuoteName(strName) + ";"}};
}

// A property whose set, id or description changes is dropped and added again: ALTER has no other way.
TStatements AlterSearchProperties(const TPlanObject& from, const TPlanObject& to,
                                  const TAlterContext& /*context*/) {
    const TModelSearchPropertyList& fromList = ListOf(from);
    const TModelSearchPropertyList& toList = ListOf(to);
    TStatements aStatements;
    for (const TModelSearchProperty& property : SortedWithout(fromList.aProperties, toList.aProperties))
        aStatements.push_back({AlterList(toList) + " DROP " + UnicodeLiteral(property.strName) + ";"});
    for (const TModelSearchProperty& property : SortedWithout(toList.aProperties, fromList.aProperties))
        aStatements.push_back(AddProperty(toList, property));
    return aStatements;
}
