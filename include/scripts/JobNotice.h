// What the jobs (ExportJobs.h, ApplyJob.h) tell the program that runs them. The library prints nothing and
// words nothing: every warning, refusal and failure comes back as a record, which the program words in its
// own language and puts where it wants; progress and the question about an existing file go through the
// observer, and the observer's ShouldStop cancels a job.
//
// The jobs, each a function over an observer:
//   ExportModuleScripts  the module's export into a folder: a file per category or per object, the folder's
//                        manifest, the files earlier exports wrote for objects that are gone; the module's
//                        CScriptUnloader does the scripting, as it does on its own.
//   ExportRecreate       the faithful scripts of the catalog model, and the tables' rows, into a folder or
//   one
//                        stream: the files in apply order, the manifest, data files named by their tables,
//                        --prune, --clean, --create-database, selections by kind and by name, the rows read
//                        as of one moment.
//   FindRecreateObject   the faithful script of one object.
//   ApplyScriptFiles     a folder in its manifest's order, a file or a script held in memory, batch by batch
//   on
//                        one connection or, for the rows, on several; the objects the database has already
//                        looked for first.
//   DiffDatabases        two catalogs compared, each a snapshot, a server or a folder applied to a scratch
//                        database; their differences and the migration from one to the other.
// Each record names what it is about, why (the server's or the system's reason) and, for a refusal, the
// option that would have allowed it.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The options a record names, as the command-line host calls them.
enum class eJobOption {
    None,
    ReplaceAll, // existing files may be replaced (--replace all)
    Prune,      // the files an earlier export wrote and this one did not are removed (--prune)
    ExistingOk, // scripts apply to a database that has objects they create (--existing ok)
    Consistent, // the rows are read as of one moment or not at all (--consistent)
    Schema,     // the selection's patterns: --schema, --exclude-schema, --object, --exclude-object
    ExcludeSchema,
    Object,
    ExcludeObject,
    DataTables,        // the tables whose rows are written (--data-tables)
    Shadow,            // the server a folder compared is applied to (--shadow)
    AllowDataLoss,     // a migration drops tables and columns and narrows types (--allow-data-loss)
    AllowRebuild,      // a migration rebuilds tables (--allow-rebuild)
    Drop,              // a migration drops what only FROM has, its users with it (--drop)
    Strict,            // what the scripts do not carry stops the run before anything is written (--strict)
    ExcludeDataTables, // the tables whose rows are left out (--exclude-data-tables)
};

// What a record says. Warnings let the job go on; refusals and failures end it. The fields each kind fills
// are named beside it; a system's reason is nSystemError (an errno value) where there is one, else strReason.
enum class eJobNotice {
    // Files and folders
    FolderUnusable, // strSubject: the folder that cannot be made; its reason
    DebrisRemoved,  // warning: nCount temporary files that runs which ended early left in strSubject, or with
                    // bFlag beside the file strSubject
    FileExists,     // refusal (ReplaceAll): strSubject the file as the folder shows it, strDetail the folder
    CannotWrite,    // strSubject: the file, empty for the program's stream; its reason
    CannotRead,     // strSubject: the file; its reason
    CannotRemove,   // strSubject: a file an earlier export wrote; its reason
    StaleFilesKept, // warning (Prune): aNames the files an earlier export wrote and this one did not
    StaleFilesRemoved,      // aNames: those files, removed
    StaleObjectFile,        // warning (Prune): strSubject an object file whose object is gone
    StaleObjectFileRemoved, // strSubject: that file, removed
    // Connections
    CannotConnect, // failure: strReason, the password left out; bFlag: the source is a catalog snapshot
    CannotRecordSnapshot, // failure: strReason
    SnapshotCutShort,     // warning: the recording of snapshot strSubject ended early, strReason says why
    // The module's export
    ModuleMessage,  // failure: strReason the module's words, nCategory the category (-1: none); strSubject
                    // the category's file, which bFlag says is there as it was (else not written), or
                    // empty for its object files, all left as they were
    ConnectionLost, // failure: the module's message (nCategory, strReason) lost the connection: the run stops
    FirstFailure,   // failure: the run stops at it (bStopAtFirstFailure); strSubject the catalog snapshot
    CategoryTextChanged, // failure: the objects' texts are not in category nCategory's text: no file written
    CategoryCycle,       // warning: the objects aNames of category nCategory use each other in a cycle
    DamagedModuleNames, // warning: aItems (category, schema.name) came with '?' for characters the connection
                        // lost; bFlag: the connect string asks for UTF-8 already
    // The faithful scripts
    UnrecordedFamily, // warning: catalog snapshot strSubject, recorded by an earlier version, holds no family
                      // strDetail, which reads as empty
    DamagedModelNames, // warning: as DamagedModuleNames, aItems of model kinds (eModelKind)
    NoOneMoment, // warning (Consistent): database strSubject does not allow snapshot isolation; strDetail the
                 // statement that allows it
    NoOneMomentAtAll,       // refusal: the same with bConsistent: nothing was read
    OneMomentUnreadable,    // failure: strReason
    SequencesUnknown,       // warning: where the sequences stand is not known; strReason the server's, if any
    UnmatchedPattern,       // refusal: the pattern strSubject of eOption matches nothing
    UnmatchedTablePatterns, // refusal (DataTables, ExcludeDataTables): aNames the patterns that match no
                            // table
    NothingSelected,        // refusal: the catalog has objects, and the selection leaves none to write
    LeftOut,                // warning: aItems (model kind, name) that what is written needs and is left out
    Renamed,                // warning: aItems[0] was renamed; its text creates strDetail
    ContainedUserLeftOut,   // warning: user strSubject is not written: its password cannot be read
    CertificateUserLeftOut, // warning: user strSubject, mapped to a certificate
    KeyUserLeftOut,         // warning: user strSubject, mapped to an asymmetric key
    LoginlessUserLeftOut,   // warning: user strSubject, whose login the server does not know
    PermissionLeftOut,      // warning: strDetail of grantee strSubject on a securable of class strReason
    NewApplicationRolePassword, // warning: application role strSubject gets a password nobody knows
    Cycle,                      // warning: aNames use each other in a cycle and keep their usual order
    ReadCatalogFailed,          // failure: the catalog's family strSubject; strReason
    ReadRowsFailed,             // failure: the rows of table strSubject; strReason
    ValueUnwritable,            // failure: strReason names the table, the column and what is wrong
    NoSuchObject,               // failure: no object strSubject in the catalog
    AmbiguousName,              // failure: strSubject names the objects aNames
    // Applying scripts
    NoManifest,           // failure: folder strSubject holds no manifest
    EmptyScript,          // failure: the script held in memory, strSubject, is empty
    StreamCutShort,       // failure: the stream strSubject an export wrote lacks its closing line
    StreamAltered,        // failure: the stream strSubject does not hold what its closing line says
    ManifestLeavesFolder, // misuse: folder strSubject's manifest names strDetail, not a file inside it
    NotUtf8,              // failure: script strSubject, line nLine
    WrongGoCount,         // failure: script strSubject, line nLine: GO with a count that is none
    WrongGoLine,          // failure: script strSubject, line nLine: GO with other text after it
    SnapshotCannotApply,  // misuse: the connection is a catalog snapshot
    DefaultDatabase,      // warning: the connect string names no database and no script switches to one: they
                          // apply
                          // to the login's default database strSubject
    ExistingUnknown,      // failure (ExistingOk): strReason why the database cannot be looked at
    ObjectExists,         // failure: aItems[0] (apply's created kind, name) exists; strSubject:nLine makes it
    MoreObjectsExist,     // failure: and nCount more
    NothingApplied,       // refusal (ExistingOk): the database has objects the scripts create
    CannotBeginTransaction, // failure: strReason
    // aNames: the files whose batches that cannot run inside a transaction (full-text catalogs and indexes)
    // run after the single transaction committed
    RunsAfterCommit,
    Refused,        // failure: the batch at strSubject:nLine; strReason, SQLSTATE strDetail, native nCount
    ServerMessage,  // strSubject:nLine said strReason (with bServerMessages)
    RowCount,       // strSubject:nLine affected nCount rows (with bServerMessages)
    LeavesDatabase, // failure (bStayInDatabase): the batch at strSubject:nLine runs strDetail ("USE", "CREATE
                    // DATABASE", ...)
    // Comparing databases
    FolderWithoutShadow, // misuse (Shadow): side strSubject is a folder, and no server is named to apply it
    NoSuchSide, // misuse: side strSubject is no folder, no file and, holding no '=', no connect string
    SnapshotWithoutModel, // failure: catalog snapshot strSubject holds the module's statements, no model
    RowsOfFolder,         // misuse (DataTables): side strSubject is a folder, whose rows are not compared
    ShadowRefused,        // failure: the shadow server refused the statement strSubject; strReason
    ScratchNotApplied,    // failure: folder strSubject could not be applied to a scratch database
    ScratchDatabaseLeft,  // warning: the scratch database strSubject could not be dropped
    // refusal (AllowDataLoss, AllowRebuild; None: nothing allows it): strReason the change, naming aItems[0]
    // (model kind, name); strDetail what the migration does where the option allows it
    MigrationRefused,
    MigrationLoss, // warning (AllowDataLoss): the same fields, for a loss the option allows
    // misuse: --rename strSubject ("column dbo.T.A=B" as typed) names aItems[0] (model kind, name), which
    // FROM lacks (nCount 1), TO lacks (2) or FROM has already (3); no item: its text names no table or column
    RenameUnmatched,
    // The census
    NotCarried, // warning, or refusal (Strict): the aNames (nCount of them) of one kind are not written; the
    // kind is CensusKinds()[nCategory], or with nCategory -1 one the census does not know, of source
    // strSubject ("object", "index") and the catalog's code strDetail
    ModuleExport,     // failure: folder strSubject, holding no manifest, is the module's per-category export
    GraphRowsLeftOut, // warning: aNames the node and edge tables whose rows are not written, as their ids are
                      // the server's own
};

// An object a record names: its kind (as the record says which enumeration) and its name.
struct TJobItem {
    int nKind = 0;
    std::string strName;
};

struct TJobNotice {
    explicit TJobNotice(eJobNotice eWhatIn, std::string strSubjectIn = {})
        : eWhat(eWhatIn), strSubject(std::move(strSubjectIn)) {}

    eJobNotice eWhat;
    eJobOption eOption = eJobOption::None;
    std::string strSubject;
    std::string strDetail;
    std::string strReason;
    int nSystemError = 0;
    int nCategory = -1;
    long nLine = 0;
    long nCount = 0;
    bool bFlag = false;
    std::vector<std::string> aNames;
    std::vector<TJobItem> aItems;
};

// How a job ended.
enum class eJobEnd {
    Done,
    Failed,  // a failure or a refusal ended it: its records say which
    Misused, // what it was given does not go together: its record says what
    Stopped, // ShouldStop ended it
};

class IJobObserver {
public:
    virtual ~IJobObserver() = default;

    // Asked between steps of the work: true ends the job there, leaving what it wrote whole.
    virtual bool ShouldStop() { return false; }
    // The job begins the work that ShouldStop stops cleanly; before it, a program may end at once instead.
    virtual void OnCancellable() {}
    // An export stops at ShouldStop's word: once, before it lets its connection go (and a snapshot being
    // recorded on it is written).
    virtual void OnStopping() {}
    // A warning, refusal or failure; from the thread that met it, where a job runs on several.
    virtual void OnNotice(const TJobNotice& notice) = 0;
};
