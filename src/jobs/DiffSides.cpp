#include "jobs/DiffSides.h"

#include "backend/ConnectString.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "compare/DriftCheck.h"
#include "compare/ServerDialect.h"
#include "jobs/JobFailure.h"
#include "jobs/RecreateWarnings.h"
#include "model/ModelLoader.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A snapshot recorded by an export without --recreate holds the module's statements, not the model's.
bool HoldsModel(CDatabase& db) {
    const CCatalogSnapshot* pSnapshot = db.GetBackend()->GetSnapshot();
    return !pSnapshot || pSnapshot->Find(ModelStatements(TModelFeatures())[0]->strSql);
}

TDatabaseSource SourceOf(const TDiffSide& side) {
    TDatabaseSource source;
    (side.eKind == eDiffSide::Snapshot ? source.strSnapshot : source.strConnect) = side.strArgument;
    return source;
}

} // namespace

TDiffSide DiffSideOf(const std::string& strArgument) {
    std::error_code ec;
    if (fs::is_directory(strArgument, ec))
        return {eDiffSide::Folder, strArgument};
    if (fs::is_regular_file(strArgument, ec))
        return {eDiffSide::Snapshot, strArgument};
    return {eDiffSide::Server, strArgument};
}

std::string DescribeSide(const TDiffSide& side) {
    switch (side.eKind) {
    case eDiffSide::Snapshot:
        return "catalog snapshot " + side.strArgument;
    case eDiffSide::Folder:
        return "folder " + side.strArgument + ", applied to a scratch database";
    case eDiffSide::Server:
        break;
    }
    const std::string strServer = ServerOf(side.strArgument);
    const std::string strDatabase = ConnectValue(side.strArgument, "DATABASE");
    return (strDatabase.empty() ? "the login's default database" : "database " + strDatabase) +
           (strServer.empty() ? std::string() : " on " + strServer);
}

CSideLoading::CSideLoading(const TDiffSide& side, const std::string& strShadow, int nNumber, bool bStrict,
                           bool bHashes, bool bRows, IJobObserver& observer,
                           std::function<void(bool bPending)> onScratch)
    : m_bStrict(bStrict), m_bHashes(bHashes), m_bRows(bRows), m_notices(observer),
      m_onScratch(std::move(onScratch)),
      m_loading(std::async(std::launch::async,
                           [this, side, strShadow, nNumber] { return Load(side, strShadow, nNumber); })) {}

std::optional<TLoadedSide> CSideLoading::Told() {
    std::optional<TLoadedSide> loaded = m_loading.get();
    m_notices.TellAll();
    return loaded;
}

// A folder is applied to its scratch database first, which is dropped once its model is read.
std::optional<TLoadedSide> CSideLoading::Load(const TDiffSide& side, const std::string& strShadow,
                                              int nNumber) {
    if (side.eKind != eDiffSide::Folder)
        return LoadModel(SourceOf(side), side);
    CScratchDatabase scratch(strShadow, nNumber, m_notices, m_onScratch);
    if (!scratch.Apply(side.strArgument))
        return std::nullopt;
    return LoadModel(scratch.Source(), side);
}

std::optional<TLoadedSide> CSideLoading::LoadModel(const TDatabaseSource& source, const TDiffSide& side) {
    const auto pDatabase = std::make_shared<CDatabase>();
    CDatabase& db = *pDatabase;
    if (!OpenDatabase(db, source, m_notices))
        return std::nullopt;
    if (!HoldsModel(db)) {
        m_notices.OnNotice(TJobNotice(eJobNotice::SnapshotWithoutModel, side.strArgument));
        return std::nullopt;
    }
    try {
        TLoadedSide loaded{LoadCatalogModel(db), std::nullopt, std::nullopt, nullptr};
        WarnUnrecordedFamilies(db, loaded.model, m_notices);
        if (!WarnUncarried(loaded.model, m_bStrict, m_notices))
            return std::nullopt;
        loaded.dialect = AskServerDialect(db);
        if (m_bHashes && side.eKind == eDiffSide::Server)
            loaded.hashes = ReadObjectHashes(*db.GetBackend());
        if (m_bRows)
            loaded.pRows = pDatabase;
        return loaded;
    } catch (const CModelError& e) {
        // A load that a stop cancelled says nothing of its own.
        if (!m_notices.ShouldStop())
            m_notices.OnNotice(NoticeOf(e));
        return std::nullopt;
    }
}
