#include "apply/ScriptPlan.h"

#include <optional>

namespace {

// Follows a file of rows batch by batch: settings, then INSERTs into one table, then settings, is a shape
// whose INSERTs may be spread; anything else runs as it is.
class CRowsShapeReader {
public:
    void Add(const TScriptBatch& batch, const TBatchContent& content) {
        switch (content.eKind) {
        case EBatchKind::Settings:
            if (!content.table.IsEmpty())
                m_identityTable = content.table;
            (m_shape.nRowBatches == 0 ? m_shape.aBefore : m_shape.aAfter).push_back(batch);
            return;
        case EBatchKind::Rows:
            if (!m_shape.aAfter.empty() || (m_shape.nRowBatches > 0 && !(content.table == m_shape.table)))
                m_bMixed = true;
            m_shape.table = content.table;
            ++m_shape.nRowBatches;
            return;
        case EBatchKind::Other:
            m_shape.bAlone = true;
            return;
        }
    }

    TRowsShape Finish() {
        if (m_bMixed) {
            m_shape.table = {};
            m_shape.bAlone = true;
        }
        m_shape.bSpreadable = !m_shape.bAlone && m_shape.nRowBatches > 0;
        m_shape.bIdentityInsert = !m_shape.table.IsEmpty() && m_identityTable == m_shape.table;
        if (!m_shape.bSpreadable) {
            m_shape.aBefore.clear();
            m_shape.aAfter.clear();
        }
        return std::move(m_shape);
    }

private:
    TRowsShape m_shape;
    TScriptName m_identityTable;
    bool m_bMixed = false; // rows of several tables, or rows after the settings that follow rows
};

// Follows the batches of all files for a transaction of the scripts' own: batches that cannot run inside
// one, one that begins it, batches of which none ends it but the last, and again batches that cannot run
// inside one.
class COwnTransactionReader {
public:
    void Add(const TBatchContent& content) {
        const bool bOutside = content.bOutsideTransaction && !content.bEndsTransaction;
        switch (m_eState) {
        case Before:
            if (content.bBeginsTransaction) {
                m_nBegins = m_nBatch;
                m_eState = Inside;
            } else if (!bOutside) {
                m_eState = None;
            }
            break;
        case Inside:
            m_nEnds = m_nBatch;
            if (content.bEndsTransaction)
                m_eState = Ended;
            break;
        case Ended:
        case After:
            m_eState = bOutside ? After : None;
            break;
        case None:
            break;
        }
        ++m_nBatch;
    }

    void Finish(TApplyPlan& plan) const {
        plan.bOwnTransaction = m_eState != Before && m_eState != None;
        plan.nTransactionBegins = m_nBegins;
        plan.nTransactionEnds = m_eState == Inside ? m_nBatch - 1 : m_nEnds;
    }

private:
    enum { Before, Inside, Ended, After, None } m_eState = Before;
    long m_nBatch = 0; // the place of the next batch
    long m_nBegins = 0, m_nEnds = 0;
};

} // namespace

bool StoppedInOwnTransaction(const TApplyPlan& plan, long nBatch) {
    return plan.bOwnTransaction && nBatch >= plan.nTransactionBegins && nBatch <= plan.nTransactionEnds;
}

std::unique_ptr<CScriptReader> OpenScript(const TScriptFile& file) {
    return file.pText ? std::make_unique<CScriptReader>(file.pText, file.nTextLength)
                      : std::make_unique<CScriptReader>(file.strPath);
}

TApplyPlan PlanApply(std::vector<TScriptFile> aFiles) {
    TApplyPlan plan;
    COwnTransactionReader transaction;
    for (TScriptFile& file : aFiles) {
        TPlannedFile& planned = plan.aFiles.emplace_back();
        planned.file = std::move(file);
        const size_t nFile = plan.aFiles.size() - 1;
        CRowsShapeReader shape;
        try {
            const std::unique_ptr<CScriptReader> pReader = OpenScript(planned.file);
            bool bMigration = false;
            while (std::optional<TScriptBatch> batch = pReader->Next()) {
                bMigration =
                    bMigration || (!planned.nBatches && batch->strText.starts_with(kMigrationFirstWords));
                TBatchContent content = DescribeBatch(batch->strText);
                transaction.Add(content);
                if (content.bOutsideTransaction)
                    planned.aOutsideTransaction.push_back(planned.nBatches);
                ++planned.nBatches;
                for (TCreatedObject& object : content.aCreated)
                    if (!bMigration)
                        plan.aCreated.push_back({std::move(object), nFile, batch->nLine});
                for (TCreatedObject& object : content.aDropped)
                    plan.aDropped.push_back({std::move(object), nFile, batch->nLine});
                if (!content.strDatabaseChange.empty())
                    plan.aDatabaseChanges.push_back(
                        {std::move(content.strDatabaseChange), nFile, batch->nLine});
                if (planned.file.bRows)
                    shape.Add(*batch, content);
            }
        } catch (CScriptException* e) {
            e->m_strFile = planned.file.strName;
            throw;
        }
        planned.rows = shape.Finish();
    }
    transaction.Finish(plan);
    return plan;
}
