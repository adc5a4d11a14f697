// The families of search property lists: the document properties full-text indexes read, by list.
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

// The list of that id, where the model carries it.
TModelSearchPropertyList* ListOf(TModelDraft& draft, int nListId) {
    const std::string* pName = Found(draft.mapSearchPropertyLists, nListId);
    if (!pName)
        return nullptr;
    std::vector<TModelSearchPropertyList>& aLists = draft.model.aSearchPropertyLists;
    const auto it = std::find_if(aLists.begin(), aLists.end(), [pName](const TModelSearchPropertyList& list) {
        return list.strName == *pName;
    });
    return it == aLists.end() ? nullptr : &*it;
}

} // namespace

// The properties have a view of their own, which a server may lack while it has the lists'.
void AddSearchPropertyListProbe(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bSearchPropertyListNames = !rows.IsNull("lists_view");
    features.bSearchProperties = features.bSearchPropertyListNames && !rows.IsNull("properties_view");
    features.bFullTextPropertyLists = features.bFullTextIndexes && !rows.IsNull("index_property_list_column");
}

// A list is carried only where its properties are read: one without them would be made empty. Its name
// serves the full-text indexes that use it, and the census, either way.
void AddSearchPropertyLists(CFamilyRows& rows, TModelDraft& draft) {
    std::vector<TModelSearchPropertyList>& aLists = draft.model.aSearchPropertyLists;
    while (rows.Next()) {
        draft.mapSearchPropertyLists[rows.Int("property_list_id")] = rows.Text("name");
        if (draft.model.features.bSearchProperties)
            aLists.push_back({rows.Text("name"), {}});
    }
    std::sort(aLists.begin(), aLists.end(),
              [](const TModelSearchPropertyList& a, const TModelSearchPropertyList& b) {
                  return a.strName < b.strName;
              });
}

void AddSearchProperties(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelSearchPropertyList* pList = ListOf(draft, rows.Int("property_list_id"));
        if (!pList)
            continue;
        TModelSearchProperty& property = pList->aProperties.emplace_back();
        property.strName = rows.Text("property_name");
        property.strSetGuid = rows.Text("property_set_guid");
        property.nIntId = rows.Int("property_int_id");
        if (!rows.IsNull("property_description"))
            property.description = rows.Text("property_description");
    }
    for (TModelSearchPropertyList& list : draft.model.aSearchPropertyLists)
        std::sort(list.aProperties.begin(), list.aProperties.end());
}
