#include "jobs/ScratchDatabase.h"

#include "backend/ConnectString.h"
#include "backend/DbBackend.h"
#include "platform/Exceptions.h"

#include <chrono>
#include <thread>
#include <unistd.h>

void CHeldNotices::OnNotice(const TJobNotice& notice) {
    const std::lock_guard lock(m_mutex);
    m_aNotices.push_back(notice);
}

void CHeldNotices::TellAll() {
    for (const TJobNotice& notice : m_aNotices)
        m_observer.OnNotice(notice);
    m_aNotices.clear();
}

CScratchDatabase::CScratchDatabase(std::string strShadow, int nNumber, CHeldNotices& notices,
                                   std::function<void(bool bPending)> onPending)
    : m_strShadow(std::move(strShadow)),
      m_strName("sqlscripts_shadow_" + std::to_string(::getpid()) + "_" + std::to_string(nNumber)),
      m_notices(notices), m_onPending(std::move(onPending)) {}

CScratchDatabase::~CScratchDatabase() {
    if (!m_bMade)
        return;
    if (!Run("DROP DATABASE [" + m_strName + "]"))
        m_notices.OnNotice(TJobNotice(eJobNotice::ScratchDatabaseLeft, m_strName));
    m_onPending(false);
}

bool CScratchDatabase::Apply(const std::string& strFolder) {
    if (!Run("CREATE DATABASE [" + m_strName + "]"))
        return false;
    m_bMade = true;
    m_onPending(true);
    TApplyJobOptions options;
    options.strPath = strFolder;
    options.bExistingOk = true;
    const TApplyJobResult result = ApplyScriptFiles(
        [this](CDatabase& db) { return OpenDatabase(db, Source(), m_notices); }, options, m_notices);
    if (result.eEnd == eJobEnd::Done)
        return true;
    if (!m_notices.ShouldStop())
        m_notices.OnNotice(TJobNotice(eJobNotice::ScratchNotApplied, strFolder));
    return false;
}

TDatabaseSource CScratchDatabase::Source() const {
    TDatabaseSource source;
    source.strConnect = WithConnectValue(m_strShadow, "DATABASE", m_strName);
    return source;
}

// One statement on a connection of its own; false after telling why. A server may refuse a CREATE or DROP
// DATABASE for a moment while another one runs, so it is tried three times.
bool CScratchDatabase::Run(const std::string& strSql) const {
    std::string strRefusal;
    for (int nAttempt = 1; nAttempt <= 3; ++nAttempt) {
        if (nAttempt > 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(300 * nAttempt));
        CDatabase db;
        TDatabaseSource shadow;
        shadow.strConnect = m_strShadow;
        if (!OpenDatabase(db, shadow, m_notices))
            return false;
        try {
            db.GetBackend()->Execute(strSql, true);
            return true;
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            strRefusal = e->GetErrorText().Str();
        }
        if (m_notices.ShouldStop() && !m_bMade)
            break;
    }
    TJobNotice notice(eJobNotice::ShadowRefused, strSql);
    notice.strReason = strRefusal;
    m_notices.OnNotice(notice);
    return false;
}
