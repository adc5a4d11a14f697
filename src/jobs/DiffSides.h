// The sides of a comparison: what an argument names (a catalog snapshot, a folder, a server), and each side's
// catalog model loaded on a thread of its own, what it tells held until the job tells it in order.
#pragma once

#include "compare/Migration.h"
#include "jobs/ScratchDatabase.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

enum class eDiffSide { Snapshot, Folder, Server };

struct TDiffSide {
    eDiffSide eKind = eDiffSide::Server;
    std::string strArgument;
};

// An existing folder is a folder, an existing file a snapshot, anything else a connect string.
TDiffSide DiffSideOf(const std::string& strArgument);
// What a migration's header says a side is, without its password: "catalog snapshot FILE", "folder DIR,
// applied to a scratch database", "database Sales on SERVER".
std::string DescribeSide(const TDiffSide& side);

struct TLoadedSide {
    TCatalogModel model;
    std::optional<TServerDialect> dialect; // none when the side does not say
    std::optional<TObjectHashes> hashes;   // a server's: what a migration checks its target against
    std::shared_ptr<CDatabase> pRows;      // kept open where rows are compared
};

class CSideLoading {
public:
    // nNumber tells the scratch databases of the job's sides apart; onScratch hears of a folder's, as
    // CScratchDatabase tells it. bStrict: what the scripts do not carry fails the side. bHashes: a server's
    // object hashes are read too. bRows: the side stays open, for its rows.
    CSideLoading(const TDiffSide& side, const std::string& strShadow, int nNumber, bool bStrict, bool bHashes,
                 bool bRows, IJobObserver& observer, std::function<void(bool bPending)> onScratch);

    // Waits for the side, tells what it held, and gives its model; none when it failed (told) or stopped.
    std::optional<TLoadedSide> Told();

private:
    std::optional<TLoadedSide> Load(const TDiffSide& side, const std::string& strShadow, int nNumber);
    std::optional<TLoadedSide> LoadModel(const TDatabaseSource& source, const TDiffSide& side);

    bool m_bStrict;
    bool m_bHashes;
    bool m_bRows;
    CHeldNotices m_notices;
    std::function<void(bool bPending)> m_onScratch;
    std::future<std::optional<TLoadedSide>> m_loading;
};
