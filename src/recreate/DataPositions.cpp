#include "recreate/DataPositions.h"

#include "backend/Snapshot.h"
#include "platform/Exceptions.h"

namespace {

bool IsRecorded(CDbConnection& db, std::string_view strSql) {
    const CCatalogSnapshot* pSnapshot = db.GetSnapshot();
    return !pSnapshot || pSnapshot->Find(strSql);
}

// Calls take(schema, name, the values after them) for each row.
template <typename TTake> void ReadRows(CDbConnection& db, std::string_view strSql, TTake&& take) {
    const std::unique_ptr<CDbResult> pResult = db.Execute(std::string(strSql), true);
    while (const std::optional<TDbRow> row = pResult->Fetch())
        take(TPositionKey{std::string(*(*row)[0]), std::string(*(*row)[1])}, *row);
}

std::string ServerReason(CException* e) {
    const CExceptionPtr<> guard(e);
    return e->GetErrorText().Str();
}

void ReadSequences(CDbConnection& db, const TCatalogModel& model, TDataPositions& positions) {
    if (model.aSequences.empty())
        return;
    if (!model.features.bSequences) {
        positions.bSequencesUnknown = true;
        return;
    }
    if (!IsRecorded(db, kSequencePositions))
        return;
    try {
        ReadRows(db, kSequencePositions, [&](TPositionKey key, TDbRow row) {
            positions.mapSequences[std::move(key)] = std::string(*row[3]);
        });
    } catch (CException* e) {
        positions.bSequencesUnknown = true;
        positions.strSequencesRefused = ServerReason(e);
    }
}

std::string_view Digits(std::string_view str) {
    while (str.size() > 1 && str.front() == '0')
        str.remove_prefix(1);
    return str;
}

} // namespace

TDataPositions ReadDataPositions(CDbConnection& db, const TCatalogModel& model) {
    TDataPositions positions;
    if (IsRecorded(db, kIdentityPositions)) {
        try {
            ReadRows(db, kIdentityPositions, [&](TPositionKey key, TDbRow row) {
                positions.mapIdentities[std::move(key)] = {std::string(*row[2]), std::string(*row[3])};
            });
        } catch (CException* e) {
            throw CModelError(eModelTask::ReadCatalog, "identity positions", ServerReason(e),
                              std::string(kIdentityPositions));
        }
    }
    ReadSequences(db, model, positions);
    return positions;
}

void PlaceIdentities(std::vector<TDataStep>& aSteps, const TDataPositions& positions) {
    for (TDataStep& step : aSteps) {
        TDataTable& table = step.table;
        const auto found = positions.mapIdentities.find({table.strSchema, table.strName});
        if (table.identity && found != positions.mapIdentities.end())
            table.identity->position = found->second;
    }
}

void StartSequencesAtPositions(TCatalogModel& model, const TDataPositions& positions) {
    for (TModelSequence& sequence : model.aSequences) {
        const auto found = positions.mapSequences.find({sequence.strSchema, sequence.strName});
        if (found == positions.mapSequences.end())
            continue;
        const std::string& strNext = found->second;
        const bool bDownward = sequence.strIncrement.starts_with('-');
        const bool bPast = bDownward ? CompareIntegerText(strNext, sequence.strMinimum) < 0
                                     : CompareIntegerText(strNext, sequence.strMaximum) > 0;
        if (!bPast)
            sequence.strStart = strNext;
        else if (sequence.bCycling)
            sequence.strStart = bDownward ? sequence.strMaximum : sequence.strMinimum;
        else
            sequence.strStart = bDownward ? sequence.strMinimum : sequence.strMaximum;
    }
}

int CompareIntegerText(std::string_view a, std::string_view b) {
    const bool bNegativeA = a.starts_with('-');
    const bool bNegativeB = b.starts_with('-');
    const std::string_view strA = Digits(a.substr(bNegativeA || a.starts_with('+') ? 1 : 0));
    const std::string_view strB = Digits(b.substr(bNegativeB || b.starts_with('+') ? 1 : 0));
    if (strA == "0" && strB == "0")
        return 0;
    if (bNegativeA != bNegativeB)
        return bNegativeA ? -1 : 1;
    int nMagnitude = strA.size() != strB.size() ? (strA.size() < strB.size() ? -1 : 1) : strA.compare(strB);
    nMagnitude = nMagnitude < 0 ? -1 : (nMagnitude > 0 ? 1 : 0);
    return bNegativeA ? -nMagnitude : nMagnitude;
}
