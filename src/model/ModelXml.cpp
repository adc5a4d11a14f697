// The families of XML: the database's XML schema collections with their texts, and the columns typed by them.
#include "model/ModelDraft.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace {

// The collection of that id as schema and name; none for one the catalog does not list.
const std::pair<int, std::string>* Collection(const TModelDraft& draft, int nCollectionId) {
    return Found(draft.mapXmlSchemaCollections, nCollectionId);
}

} // namespace

void AddXmlProbe(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bXmlSchemaCollections = rows.Int("user_collections") > 0;
    const bool bView = !rows.IsNull("xml_indexes_view");
    features.bXmlIndexes = bView && !rows.IsNull("xml_index_type_column");
    features.bXmlIndexesWithoutType = bView && !features.bXmlIndexes;
}

// After the collections' names, which the permissions' family reads.
void AddXmlSchemaTexts(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (const auto* pCollection = Collection(draft, rows.Int("xml_collection_id")))
            draft.model.aXmlSchemaCollections.push_back(
                {draft.SchemaName(pCollection->first), pCollection->second, rows.Text("schema_text")});
}

// Columns of tables and of table types alike: sys.columns lists both.
void AddTypedXmlColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TDraftTable* pTable = draft.Table(rows.Int("object_id"));
        const auto* pCollection = Collection(draft, rows.Int("xml_collection_id"));
        TModelColumn* pColumn = pTable ? pTable->FindColumn(rows.Int("column_id")) : nullptr;
        if (!pColumn || !pCollection)
            continue;
        pColumn->type.strXmlSchema = draft.SchemaName(pCollection->first);
        pColumn->type.strXmlCollection = pCollection->second;
        pColumn->type.bXmlDocument = rows.Bool("is_xml_document");
    }
}

void FinishXmlSchemaCollections(TModelDraft& draft) {
    std::sort(draft.model.aXmlSchemaCollections.begin(), draft.model.aXmlSchemaCollections.end(),
              [](const TModelXmlSchemaCollection& a, const TModelXmlSchemaCollection& b) {
                  return std::pair(FoldCaseUtf8(a.strSchema), FoldCaseUtf8(a.strName)) <
                         std::pair(FoldCaseUtf8(b.strSchema), FoldCaseUtf8(b.strName));
              });
}
