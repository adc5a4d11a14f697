// A folder compared, applied to a scratch database of the shadow server and read like a live one. The
// database is dropped again whatever happens after it was made, a stop included; its name carries the
// process id, so that one left by a run killed outright tells whose it was.
#pragma once

#include "jobs/DatabaseSource.h"
#include "scripts/ApplyJob.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

// What a side of a comparison tells while it loads, held until the job tells it in order; a stop is the
// job's observer's.
class CHeldNotices : public IApplyJobObserver {
public:
    explicit CHeldNotices(IJobObserver& observer) : m_observer(observer) {}

    bool ShouldStop() override { return m_observer.ShouldStop(); }
    void OnNotice(const TJobNotice& notice) override;
    // Tells the job's observer what was held, in the order it came.
    void TellAll();

private:
    IJobObserver& m_observer;
    std::mutex m_mutex;
    std::vector<TJobNotice> m_aNotices;
};

class CScratchDatabase {
public:
    // nNumber tells the job's scratch databases apart; onPending hears true once the database is made, false
    // once it is dropped or left (told).
    CScratchDatabase(std::string strShadow, int nNumber, CHeldNotices& notices,
                     std::function<void(bool bPending)> onPending);
    CScratchDatabase(const CScratchDatabase&) = delete;
    CScratchDatabase& operator=(const CScratchDatabase&) = delete;
    ~CScratchDatabase();

    // Makes the database and applies the folder to it: false after telling why, or when stopped.
    bool Apply(const std::string& strFolder);
    // Where the folder was applied.
    TDatabaseSource Source() const;

private:
    bool Run(const std::string& strSql) const;

    std::string m_strShadow;
    std::string m_strName;
    CHeldNotices& m_notices;
    std::function<void(bool bPending)> m_onPending;
    bool m_bMade = false;
};
