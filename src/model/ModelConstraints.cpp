// The families of constraints that are not indexes: foreign keys with their columns, checks and defaults.
#include "model/ModelDraft.h"

void AddForeignKeys(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nTableId = rows.Int(2);
        TModelTable* pTable = draft.Table(nTableId);
        if (!pTable)
            continue;
        TModelForeignKey key;
        key.nObjectId = rows.Int(0);
        key.strName = rows.Text(1);
        key.nReferencedObjectId = rows.Int(3);
        key.nKeyIndexId = rows.Int(4);
        key.bDisabled = rows.Bool(5);
        key.bNotTrusted = rows.Bool(6);
        key.bNotForReplication = rows.Bool(7);
        key.eOnDelete = static_cast<EModelReferentialAction>(rows.Int(8));
        key.eOnUpdate = static_cast<EModelReferentialAction>(rows.Int(9));
        draft.mapForeignKeyTables[key.nObjectId] = nTableId;
        pTable->aForeignKeys.push_back(std::move(key));
    }
}

void AddForeignKeyColumns(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        const int nKeyId = rows.Int(0);
        if (draft.mapForeignKeyTables.count(nKeyId))
            draft.mapForeignKeyColumns[nKeyId].push_back({rows.Int(1), rows.Int(2), rows.Int(3)});
    }
}

void AddChecks(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelTable* pTable = draft.Table(rows.Int(2)))
            pTable->aChecks.push_back({rows.Int(0), rows.Text(1), rows.Int(3), rows.Text(4), rows.Bool(5),
                                       rows.Bool(6), rows.Bool(7)});
}

void AddDefaults(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        if (TModelTable* pTable = draft.Table(rows.Int(2)))
            pTable->aDefaults.push_back({rows.Int(0), rows.Text(1), rows.Int(3), rows.Text(4)});
}
