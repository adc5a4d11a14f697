#include "jobs/DatabaseSource.h"

#include "backend/ConnectSecrets.h"
#include "backend/ConnectString.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "jobs/JobFiles.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "scripts/ExportJobs.h"

#include <filesystem>

namespace {

// Seconds a login may take without a timeout: long enough for a server across the world, short enough not
// to look like a hang.
constexpr int kDefaultLoginTimeout = 30;

// The folder of the recording is made as an export's folder is, and what a recording that ended early left
// beside the file goes; false after telling why the folder cannot be made.
bool PrepareRecording(const std::string& strFile, IJobObserver& observer) {
    const std::string strFolder = std::filesystem::path(strFile).parent_path().string();
    if (const int nError = strFolder.empty() ? 0 : MakeFolder(strFolder)) {
        observer.OnNotice(FolderNotice(strFolder, nError));
        return false;
    }
    if (const size_t nCount = RemoveStaleTemporaryFilesOf(strFile.c_str())) {
        TJobNotice notice(eJobNotice::DebrisRemoved, strFile);
        notice.nCount = static_cast<long>(nCount);
        notice.bFlag = true;
        observer.OnNotice(notice);
    }
    return true;
}

} // namespace

std::string TDatabaseSource::ConnectString() const {
    std::string strResult = strSnapshot.empty() ? strConnect : "SNAPSHOT=" + strSnapshot;
    if (!strSaveSnapshot.empty())
        strResult = "SAVE_SNAPSHOT=" + strSaveSnapshot + ";" + strResult;
    return strResult;
}

bool OpenDatabase(CDatabase& db, const TDatabaseSource& source, IJobObserver& observer) {
    if (!source.strSaveSnapshot.empty() && !PrepareRecording(source.strSaveSnapshot, observer))
        return false;
    try {
        SetDbTimeouts({static_cast<DWORD>(source.nTimeout.value_or(kDefaultLoginTimeout)),
                       static_cast<DWORD>(source.nTimeout.value_or(0))});
        db.OpenEx(source.ConnectString().c_str(), CDatabase::noOdbcDialog);
        const CCatalogSnapshot* pSnapshot = db.GetBackend()->GetSnapshot();
        if (pSnapshot && !pSnapshot->GetCutShort().empty()) {
            TJobNotice notice(eJobNotice::SnapshotCutShort, pSnapshot->GetPath());
            notice.strReason = pSnapshot->GetCutShort();
            observer.OnNotice(notice);
        }
        return true;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        const bool bRecording = dynamic_cast<CFileException*>(e) != nullptr;
        TJobNotice notice(bRecording ? eJobNotice::CannotRecordSnapshot : eJobNotice::CannotConnect);
        notice.strReason = HideConnectSecrets(e->GetErrorText().Str(), source.strConnect);
        notice.bFlag = !source.strSnapshot.empty();
        observer.OnNotice(notice);
        return false;
    }
}

bool IsMistypedPath(const std::string& strArgument) {
    std::error_code ec;
    return strArgument.find('=') == std::string::npos && !std::filesystem::exists(strArgument, ec);
}

std::string ServerOf(const std::string& strConnect) {
    const std::string strServer = ConnectValue(strConnect, "SERVER");
    return strServer.empty() ? ConnectValue(strConnect, "DSN") : strServer;
}
