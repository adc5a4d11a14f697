// XML schema collections: made with their whole text, added to in place, dropped where they exist.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

namespace {

const TModelXmlSchemaCollection& Collection(const TPlanObject& object) {
    return *std::get<const TModelXmlSchemaCollection*>(object);
}

std::string CollectionName(const std::string& strSchema, const std::string& strName) {
    return QuoteName(strSchema, strName);
}

} // namespace

// A batch of its own: a column or parameter cannot be typed by a collection made in the same batch.
TStatements CreateXmlSchemaCollection(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelXmlSchemaCollection& collection = Collection(object.object);
    return {{"CREATE XML SCHEMA COLLECTION " + CollectionName(collection.strSchema, collection.strName) +
                 " AS " + UnicodeLiteral(collection.strText) + ";",
             eBatchPlace::Own}};
}

// DROP XML SCHEMA COLLECTION has no IF EXISTS.
TStatements DropXmlSchemaCollection(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    return {{"IF EXISTS (SELECT 1 FROM sys.xml_schema_collections WHERE schema_id = SCHEMA_ID(" +
             UnicodeLiteral(key.strSchema) + ") AND name = " + UnicodeLiteral(key.strName) +
             ") DROP XML SCHEMA COLLECTION " + CollectionName(key.strSchema, key.strName) + ";"}};
}

bool ExtendsXmlSchemas(const std::string& strFrom, const std::string& strTo) {
    return strTo.size() > strFrom.size() && strTo.compare(0, strFrom.size(), strFrom) == 0;
}

TStatements AddXmlSchemas(const TPlanObject& fromObject, const TPlanObject& toObject,
                          const TAlterContext& /*context*/) {
    const TModelXmlSchemaCollection& to = Collection(toObject);
    return {{"ALTER XML SCHEMA COLLECTION " + CollectionName(to.strSchema, to.strName) + " ADD " +
                 UnicodeLiteral(std::string_view(to.strText).substr(Collection(fromObject).strText.size())) +
                 ";",
             eBatchPlace::Own}};
}
