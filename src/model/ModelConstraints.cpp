// The families of constraints that are not indexes: foreign keys with their columns, checks and defaults.
#include "model/ModelDraft.h"

void AddForeignKeys(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nTableId = rows.Int("parent_object_id");
        TDraftTable* pTable = draft.Table(nTableId);
        if (!pTable)
            continue;
        TDraftForeignKey& draftKey = pTable->aForeignKeys.emplace_back();
        draftKey.nObjectId = rows.Int("object_id");
        draftKey.nReferencedObjectId = rows.Int("referenced_object_id");
        draftKey.nKeyIndexId = rows.Int("key_index_id");
        TModelForeignKey& key = draftKey.key;
        key.strName = rows.Text("name");
        key.bDisabled = rows.Bool("is_disabled");
        key.bNotTrusted = rows.Bool("is_not_trusted");
        key.bNotForReplication = rows.Bool("is_not_for_replication");
        key.eOnDelete = static_cast<eModelReferentialAction>(rows.Int("delete_referential_action"));
        key.eOnUpdate = static_cast<eModelReferentialAction>(rows.Int("update_referential_action"));
        draft.mapConstraintTables[draftKey.nObjectId] = nTableId;
    }
}

void AddForeignKeyColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nKeyId = rows.Int("constraint_object_id");
        if (const int* pTableId = Found(draft.mapConstraintTables, nKeyId))
            for (TDraftForeignKey& key : draft.Table(*pTableId)->aForeignKeys)
                if (key.nObjectId == nKeyId)
                    key.aColumns.push_back({rows.Int("constraint_column_id"), rows.Int("parent_column_id"),
                                            rows.Int("referenced_column_id")});
    }
}

void AddChecks(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nTableId = rows.Int("parent_object_id");
        TDraftTable* pTable = draft.Table(nTableId);
        if (!pTable)
            continue;
        const int nObjectId = rows.Int("object_id");
        draft.mapConstraintTables[nObjectId] = nTableId;
        pTable->aChecks.push_back(
            {nObjectId,
             rows.Int("parent_column_id"),
             {rows.Text("name"), std::string(), rows.Text("definition"), rows.Bool("is_disabled"),
              rows.Bool("is_not_trusted"), rows.Bool("is_not_for_replication")}});
    }
}

void AddDefaults(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nTableId = rows.Int("parent_object_id");
        TDraftTable* pTable = draft.Table(nTableId);
        if (!pTable)
            continue;
        const int nObjectId = rows.Int("object_id");
        draft.mapConstraintTables[nObjectId] = nTableId;
        pTable->aDefaults.push_back({nObjectId,
                                     rows.Int("parent_column_id"),
                                     {rows.Text("name"), std::string(), rows.Text("definition")}});
    }
}
