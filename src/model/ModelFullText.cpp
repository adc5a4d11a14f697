// The families of full-text catalogs, stoplists and indexes: the index and its columns go with their table.
#include "model/ModelDraft.h"

#include <algorithm>

namespace {

std::string ChangeTracking(const std::string& strState) {
    if (strState == "M")
        return "MANUAL";
    return strState == "O" ? "OFF" : "AUTO";
}

// Where the full-text index of a table or of an indexed view goes; null for any other object.
std::optional<TDraftFullTextIndex>* FullTextOf(TModelDraft& draft, int nObjectId) {
    if (TDraftTable* pTable = draft.Table(nObjectId))
        return pTable->bTableType ? nullptr : &pTable->fullText;
    TDraftModule* pView = Found(draft.mapModules, nObjectId);
    return pView && !pView->aIndexes.empty() ? &pView->fullText : nullptr;
}

template <typename TOwner> void NameColumnsOf(TOwner& owner) {
    if (!owner.fullText)
        return;
    TDraftFullTextIndex& draftIndex = *owner.fullText;
    if (const TDraftIndex* pKey = owner.FindIndex(draftIndex.nKeyIndexId))
        draftIndex.index.strKeyIndex = pKey->index.strName;
    std::sort(draftIndex.aColumns.begin(), draftIndex.aColumns.end(),
              [](const TDraftFullTextColumn& a, const TDraftFullTextColumn& b) {
                  return a.nColumnId < b.nColumnId;
              });
    for (const TDraftFullTextColumn& column : draftIndex.aColumns)
        draftIndex.index.aColumns.push_back(
            {owner.ColumnName(column.nColumnId),
             column.nTypeColumnId ? owner.ColumnName(column.nTypeColumnId) : std::string(), column.nLanguage,
             column.bStatisticalSemantics});
}

} // namespace

void AddFullTextProbe(CFamilyRows& rows, TModelDraft& draft) {
    if (!rows.Next())
        return;
    TModelFeatures& features = draft.model.features;
    features.bFullTextCatalogs = !rows.IsNull("catalogs_view") && !rows.IsNull("stoplists_view");
    features.bFullTextIndexes = !rows.IsNull("indexes_view") && !rows.IsNull("index_columns_view");
}

void AddFullTextCatalogs(CFamilyRows& rows, TModelDraft& draft) {
    std::vector<TModelFullTextCatalog>& aCatalogs = draft.model.aFullTextCatalogs;
    while (rows.Next()) {
        draft.mapFullTextCatalogs[rows.Int("fulltext_catalog_id")] = rows.Text("name");
        aCatalogs.push_back(
            {rows.Text("name"), rows.Bool("is_accent_sensitivity_on"), rows.Bool("is_default")});
    }
    std::sort(
        aCatalogs.begin(), aCatalogs.end(),
        [](const TModelFullTextCatalog& a, const TModelFullTextCatalog& b) { return a.strName < b.strName; });
}

// A stoplist is carried only where its words are read: one without them would be made empty.
void AddFullTextStoplists(CFamilyRows& rows, TModelDraft& draft) {
    std::vector<TModelFullTextStoplist>& aStoplists = draft.model.aFullTextStoplists;
    while (rows.Next()) {
        draft.mapFullTextStoplists[rows.Int("stoplist_id")] = rows.Text("name");
        if (draft.model.features.bFullTextStopwords)
            aStoplists.push_back({rows.Text("name"), {}});
    }
    std::sort(aStoplists.begin(), aStoplists.end(),
              [](const TModelFullTextStoplist& a, const TModelFullTextStoplist& b) {
                  return a.strName < b.strName;
              });
}

void AddStopwordsProbe(CFamilyRows& rows, TModelDraft& draft) {
    if (rows.Next())
        draft.model.features.bFullTextStopwords = !rows.IsNull("stopwords_view");
}

void AddFullTextStopwords(CFamilyRows& rows, TModelDraft& draft) {
    std::vector<TModelFullTextStoplist>& aStoplists = draft.model.aFullTextStoplists;
    while (rows.Next()) {
        const std::string* pName = Found(draft.mapFullTextStoplists, rows.Int("stoplist_id"));
        const auto it = pName ? std::find_if(aStoplists.begin(), aStoplists.end(),
                                             [pName](const TModelFullTextStoplist& stoplist) {
                                                 return stoplist.strName == *pName;
                                             })
                              : aStoplists.end();
        if (it != aStoplists.end())
            it->aWords.push_back({rows.Int("language_id"), rows.Text("stopword")});
    }
    for (TModelFullTextStoplist& stoplist : aStoplists)
        std::sort(stoplist.aWords.begin(), stoplist.aWords.end());
}

// Those of tables and of indexed views. A stoplist id of 0 is the server's own stoplist; none is
// STOPLIST = OFF.
void AddFullTextIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        std::optional<TDraftFullTextIndex>* pFullText = FullTextOf(draft, rows.Int("object_id"));
        if (!pFullText)
            continue;
        TDraftFullTextIndex& draftIndex = pFullText->emplace();
        draftIndex.nKeyIndexId = rows.Int("unique_index_id");
        TModelFullTextIndex& index = draftIndex.index;
        if (const std::string* pCatalog = Found(draft.mapFullTextCatalogs, rows.Int("fulltext_catalog_id")))
            index.strCatalog = *pCatalog;
        index.strChangeTracking = ChangeTracking(rows.Text("change_tracking_state"));
        index.bNoStoplist = rows.IsNull("stoplist_id");
        if (!index.bNoStoplist)
            if (const std::string* pStoplist = Found(draft.mapFullTextStoplists, rows.Int("stoplist_id")))
                index.strStoplist = *pStoplist;
    }
}

void AddFullTextIndexColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (std::optional<TDraftFullTextIndex>* pFullText = FullTextOf(draft, rows.Int("object_id"));
            pFullText && *pFullText)
            (*pFullText)
                ->aColumns.push_back({rows.Int("column_id"),
                                      rows.IsNull("type_column_id") ? 0 : rows.Int("type_column_id"),
                                      rows.Int("language_id")});
}

void AddDisabledFullTextIndexes(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (std::optional<TDraftFullTextIndex>* pFullText = FullTextOf(draft, rows.Int("object_id"));
            pFullText && *pFullText)
            (*pFullText)->index.bDisabled = true;
}

void AddFullTextSemanticColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        std::optional<TDraftFullTextIndex>* pFullText = FullTextOf(draft, rows.Int("object_id"));
        if (!pFullText || !*pFullText)
            continue;
        std::vector<TDraftFullTextColumn>& aColumns = (*pFullText)->aColumns;
        const int nColumnId = rows.Int("column_id");
        const auto it =
            std::find_if(aColumns.begin(), aColumns.end(), [nColumnId](const TDraftFullTextColumn& column) {
                return column.nColumnId == nColumnId;
            });
        if (it != aColumns.end())
            it->bStatisticalSemantics = true;
    }
}

void NameFullTextColumns(TDraftTable& table) {
    NameColumnsOf(table);
}

void NameFullTextColumns(TDraftModule& view) {
    NameColumnsOf(view);
}

void AddFullTextPropertyLists(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (std::optional<TDraftFullTextIndex>* pFullText = FullTextOf(draft, rows.Int("object_id"));
            pFullText && *pFullText)
            if (const std::string* pList = Found(draft.mapSearchPropertyLists, rows.Int("property_list_id")))
                (*pFullText)->index.strPropertyList = *pList;
}
