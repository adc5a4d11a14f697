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

} // namespace

std::unique_ptr<CScriptReader> OpenScript(const TScriptFile& file) {
    return file.pText ? std::make_unique<CScriptReader>(file.pText, file.nTextLength)
                      : std::make_unique<CScriptReader>(file.strPath);
}

TApplyPlan PlanApply(std::vector<TScriptFile> aFiles) {
    TApplyPlan plan;
    std::optional<bool> bFirstBegins; // the first batch's
    bool bEndedBefore = false;        // a batch before the last ended a transaction
    bool bLastEnds = false;
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
                ++planned.nBatches;
                TBatchContent content = DescribeBatch(batch->strText);
                if (!bFirstBegins)
                    bFirstBegins = content.bBeginsTransaction;
                bEndedBefore = bEndedBefore || bLastEnds;
                bLastEnds = content.bEndsTransaction;
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
    plan.bOwnTransaction = bFirstBegins.value_or(false) && !bEndedBefore;
    return plan;
}
