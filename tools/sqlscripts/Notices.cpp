#include "Notices.h"

#include "Categories.h"
#include "ConnectString.h"
#include "Messages.h"
#include "apply/BatchContent.h"
#include "jobs/Manifest.h"
#include "jobs/NameDamage.h"
#include "model/ModelCensus.h"
#include "platform/Text.h"
#include "recreate/RecreateKinds.h"

#include <functional>
#include <iterator>

namespace {

constexpr size_t kMaxNamed = 20;

// The system's reason in the user's language, else the library's words on one line.
std::string Reason(const TJobNotice& notice) {
    return notice.nSystemError ? SystemReason(notice.nSystemError) : OneLine(notice.strReason);
}

// "table dbo.Orders", "index dbo.Orders.IX_Date". The kinds' words are translated in the po files by hand, as
// the kinds table, being the library's, marks nothing.
std::string KindAndName(const TJobItem& item) {
    return Tr(std::string(RecreateKind(static_cast<eModelKind>(item.nKind)).strName).c_str()) +
           std::string(" ") + item.strName;
}

std::string KindsAndNames(const TJobNotice& notice) {
    std::vector<std::string> names;
    for (const TJobItem& item : notice.aItems)
        names.push_back(KindAndName(item));
    return JoinText(names);
}

// apply's words for what a script creates: the kinds table's nouns, translated in the po files by hand as the
// library marks nothing.
const char* CreatedKindName(int kind) {
    return Tr(CreateWordOf(static_cast<eModelKind>(kind)).strNoun.data());
}

// "kind a, b; kind c", the items sorted by kind, the first kMaxNamed of them.
std::string GroupedList(const std::vector<TJobItem>& items, const std::function<std::string(int)>& label) {
    std::string list;
    for (size_t i = 0; i < std::min(items.size(), kMaxNamed); ++i) {
        if (i > 0 && items[i].nKind == items[i - 1].nKind)
            list += ", ";
        else
            list += (i > 0 ? "; " : "") + label(items[i].nKind) + " ";
        list += items[i].strName;
    }
    if (items.size() > kMaxNamed)
        list += Format(Tr(" and %zu more"), items.size() - kMaxNamed);
    return list;
}

// FreeTDS carries every character of a name only with ClientCharset=UTF-8; where the connect string asks for
// it, the server's code page is what lost them.
const char* LikelyCause(const TJobNotice& notice) {
    return notice.bFlag
               ? Tr("the server keeps names in a code page that lacks those characters (the connect "
                    "string already has ClientCharset=UTF-8)")
               : Tr("a connect string without ClientCharset=UTF-8, or a server that keeps names in a "
                    "code page that lacks those characters");
}

std::string ModuleMessage(const TJobNotice& notice) {
    std::string text = ModuleText(OneLine(notice.strReason));
    if (notice.nCategory >= 0)
        text = CategoryName(notice.nCategory) + ": " + text;
    if (notice.eWhat == eJobNotice::ConnectionLost)
        return text + " " + Tr("(connection lost: export stopped)");
    if (notice.nCategory < 0)
        return text;
    const std::string kept = notice.strSubject.empty() ? std::string(Tr("its object files left as they were"))
                             : notice.bFlag ? Format(Tr("%s left as it was"), notice.strSubject.c_str())
                                            : Format(Tr("%s not written"), notice.strSubject.c_str());
    return text + " (" + kept + ")";
}

std::string ScriptLine(const TJobNotice& notice, const char* problem) {
    return Format(Tr("%s, line %ld: %s"), notice.strSubject.c_str(), notice.nLine, problem);
}

std::string Where(const TJobNotice& notice) {
    return notice.strSubject + ":" + std::to_string(notice.nLine);
}

// What is wrong with an export's stream, with the file that holds it where it was saved to one.
std::string OfStream(const TJobNotice& notice, const std::string& strText) {
    return notice.strSubject == "stdin" ? strText : notice.strSubject + ": " + strText;
}

std::string UserLeftOut(const TJobNotice& notice, const char* reason) {
    return Format(Tr("warning: user %s is left out: %s"), notice.strSubject.c_str(), reason);
}

// The census's kind of the record, for its count: "ledger tables"; one the census does not know by its code.
// The kinds' nouns are translated in the po files by hand, as the census, being the library's, marks nothing.
std::string CensusNoun(const TJobNotice& notice) {
    const auto count = static_cast<unsigned long>(notice.nCount);
    if (notice.nCategory >= 0) {
        const TCensusKind& kind = CensusKinds()[static_cast<size_t>(notice.nCategory)];
        return Tr(std::string(count == 1 ? kind.strOne : kind.strMany).c_str());
    }
    if (notice.strSubject == "index")
        return Format(TrN("index of type %s", "indexes of type %s", count), notice.strDetail.c_str());
    return Format(TrN("object of type %s", "objects of type %s", count), notice.strDetail.c_str());
}

std::string NotCarried(const TJobNotice& notice) {
    const auto count = static_cast<unsigned long>(notice.nCount);
    std::vector<std::string> names(
        notice.aNames.begin(),
        notice.aNames.begin() + static_cast<std::ptrdiff_t>(std::min(notice.aNames.size(), kMaxNamed)));
    std::string list = JoinText(names);
    if (notice.aNames.size() > kMaxNamed)
        list += Format(Tr(" and %zu more"), notice.aNames.size() - kMaxNamed);
    const char* text =
        notice.eOption == eJobOption::Strict
            ? TrN("%lu %s is not written (--strict): %s", "%lu %s are not written (--strict): %s", count)
            : TrN("warning: %lu %s is not written: %s", "warning: %lu %s are not written: %s", count);
    return Format(text, count, CensusNoun(notice).c_str(), list.c_str());
}

const char* UnmatchedPatternText(eJobOption option) {
    return option == eJobOption::Schema || option == eJobOption::ExcludeSchema
               ? Tr("%s %s matches no schema of the catalog; nothing was written")
               : Tr("%s %s matches no object of the catalog; nothing was written");
}

const char* OptionName(eJobOption option) {
    static constexpr const char* kOptions[] = {"",
                                               "--replace all",
                                               "--prune",
                                               "--existing ok",
                                               "--consistent",
                                               "--schema",
                                               "--exclude-schema",
                                               "--object",
                                               "--exclude-object",
                                               "--data-tables",
                                               "--shadow",
                                               "--allow-data-loss",
                                               "--allow-rebuild",
                                               "--drop",
                                               "--strict",
                                               "--exclude-data-tables"};
    static_assert(std::size(kOptions) == static_cast<size_t>(eJobOption::ExcludeDataTables) + 1);
    return kOptions[static_cast<int>(option)];
}

// The migration's reason, then the option that allows the change and what the migration then does, or that
// it is done by hand. Left in English, as the reason is.
std::string RenameMisuse(const TJobNotice& notice) {
    const char* option = notice.strSubject.c_str();
    if (notice.aItems.empty())
        return Format(Tr("--rename %s: give table [SCHEMA.]TABLE=NEW or column [SCHEMA.]TABLE.COLUMN=NEW"),
                      option);
    const std::string object = KindAndName(notice.aItems[0]);
    switch (notice.nCount) {
    case 1:
        return Format(Tr("--rename %s: FROM has no %s"), option, object.c_str());
    case 2:
        return Format(Tr("--rename %s: TO has no %s"), option, object.c_str());
    default:
        return Format(Tr("--rename %s: FROM has a %s already"), option, object.c_str());
    }
}

std::string MigrationRefusal(const TJobNotice& notice) {
    if (notice.eOption == eJobOption::None)
        return notice.strReason + ": change it by hand";
    return notice.strReason + " (" + OptionName(notice.eOption) + " " + notice.strDetail + ")";
}

} // namespace

std::string NoticeLine(const TJobNotice& notice) {
    const char* subject = notice.strSubject.c_str();
    const char* detail = notice.strDetail.c_str();
    const std::string reason = Reason(notice);
    const size_t count = notice.aNames.size();
    const std::string names = JoinText(notice.aNames);
    switch (notice.eWhat) {
    case eJobNotice::FolderUnusable:
        return Format(Tr("cannot create the folder %s: %s"), subject, reason.c_str());
    case eJobNotice::DebrisRemoved:
        if (notice.bFlag)
            return Format(TrN("removed %zu temporary file that a run which ended early left beside %s",
                              "removed %zu temporary files that runs which ended early left beside %s",
                              static_cast<unsigned long>(notice.nCount)),
                          static_cast<size_t>(notice.nCount), subject);
        return Format(TrN("removed %zu temporary file that a run which ended early left in %s",
                          "removed %zu temporary files that runs which ended early left in %s",
                          static_cast<unsigned long>(notice.nCount)),
                      static_cast<size_t>(notice.nCount), subject);
    case eJobNotice::FileExists:
        return Format(
            Tr("%s already exists in %s; stopped without overwriting it (use --replace all to overwrite "
               "existing files)"),
            subject, detail);
    case eJobNotice::CannotWrite:
        return Format(Tr("cannot write %s: %s"), notice.strSubject.empty() ? Tr("standard output") : subject,
                      reason.c_str());
    case eJobNotice::CannotRead:
        return Format(Tr("cannot read %s: %s"), subject, reason.c_str());
    case eJobNotice::CannotRemove:
        return Format(Tr("cannot remove %s: %s"), subject, SystemReason(notice.nSystemError).c_str());
    case eJobNotice::StaleFilesKept:
        return Format(
            TrN("%zu file an earlier export wrote is not written any more (--prune removes it): %s",
                "%zu files an earlier export wrote are not written any more (--prune removes them): %s",
                count),
            count, names.c_str());
    case eJobNotice::StaleFilesRemoved:
        return Format(TrN("removed %zu file an earlier export wrote and this one did not: %s",
                          "removed %zu files an earlier export wrote and this one did not: %s", count),
                      count, names.c_str());
    case eJobNotice::StaleObjectFile:
        return Format(Tr("%s: its object no longer exists (--prune removes it)"), subject);
    case eJobNotice::StaleObjectFileRemoved:
        return Format(Tr("removed %s: its object no longer exists"), subject);
    case eJobNotice::CannotConnect:
        return notice.bFlag ? reason : Format(Tr("cannot connect: %s"), reason.c_str());
    case eJobNotice::CannotRecordSnapshot:
        return Format(Tr("cannot record the snapshot: %s"), reason.c_str());
    case eJobNotice::SnapshotCutShort:
        return Format(Tr("warning: the recording of catalog snapshot %s was cut short (%s): statements asked "
                         "after that are not in it"),
                      subject, notice.strReason.c_str());
    case eJobNotice::ModuleMessage:
    case eJobNotice::ConnectionLost:
        return ModuleMessage(notice);
    case eJobNotice::FirstFailure:
        return Format(
            Tr("catalog snapshot %s was recorded with prefetch and does not hold every statement that "
               "--no-prefetch sends; replay it without --no-prefetch"),
            subject);
    case eJobNotice::CategoryTextChanged:
        return Format(Tr("%s: the objects' texts are not those of the category; no file written"),
                      CategoryName(notice.nCategory).c_str());
    case eJobNotice::CategoryCycle:
        return Format(Tr("warning: %s that use each other in a cycle keep name order: %s"),
                      CategoryName(notice.nCategory).c_str(), names.c_str());
    case eJobNotice::DamagedModuleNames:
        return Format(
            Tr("warning: these names came back with '?' for characters that the connection could not "
               "carry, so their objects may be missing from the scripts or scripted under the damaged "
               "names: %s. Likely cause: %s"),
            GroupedList(notice.aItems, [](int category) { return CategoryName(category); }).c_str(),
            LikelyCause(notice));
    case eJobNotice::UnrecordedFamily:
        return Format(
            Tr("warning: catalog snapshot %s holds no %s (recorded by an earlier sqlscripts): read as "
               "empty"),
            subject, detail);
    case eJobNotice::DamagedModelNames:
        return Format(Tr("warning: these names hold '?' where the server or the connection may have lost a "
                         "character, so their scripts may create other names: %s. Likely cause: %s"),
                      GroupedList(notice.aItems,
                                  [](int kind) {
                                      return std::string(RecreateKind(static_cast<eModelKind>(kind)).strName);
                                  })
                          .c_str(),
                      LikelyCause(notice));
    case eJobNotice::NoOneMoment:
        return Format(
            Tr("warning: database %s does not allow snapshot isolation: the rows are read table by "
               "table, each as it is when its turn comes, so rows that reference each other may not "
               "match (%s lets them be read as of one moment; with --consistent the run stops "
               "instead)"),
            subject, detail);
    case eJobNotice::NoOneMomentAtAll:
        return Format(
            Tr("database %s does not allow snapshot isolation, which --consistent needs to read every "
               "table as of one moment (%s allows it); nothing was read"),
            subject, detail);
    case eJobNotice::OneMomentUnreadable:
        return Format(Tr("cannot read the rows as of one moment: %s"), reason.c_str());
    case eJobNotice::SequencesUnknown:
        if (notice.strReason.empty())
            return Tr("warning: the server does not say where its sequences stand (it has no sys.sequences): "
                      "they are written with their declared start");
        return Format(
            Tr("warning: where the sequences stand cannot be read (%s): they are written with their "
               "declared start"),
            reason.c_str());
    case eJobNotice::UnmatchedPattern:
        return Format(UnmatchedPatternText(notice.eOption), OptionName(notice.eOption), subject);
    case eJobNotice::UnmatchedTablePatterns:
        return Format(TrN("no table matches the %s pattern %s; nothing was written",
                          "no table matches the %s patterns %s; nothing was written", count),
                      OptionName(notice.eOption), names.c_str());
    case eJobNotice::NothingSelected:
        return Tr("nothing left to write: the selection matches no object");
    case eJobNotice::LeftOut:
        return Format(Tr("warning: the objects written need what the selection leaves out: %s"),
                      KindsAndNames(notice).c_str());
    case eJobNotice::Renamed:
        return Format(Tr("warning: %s was renamed: its stored text, and so its script, creates %s"),
                      KindsAndNames(notice).c_str(), detail);
    case eJobNotice::ContainedUserLeftOut:
        return UserLeftOut(notice, Tr("a contained user's password cannot be read"));
    case eJobNotice::CertificateUserLeftOut:
        return UserLeftOut(notice, Tr("it is mapped to a certificate"));
    case eJobNotice::KeyUserLeftOut:
        return UserLeftOut(notice, Tr("it is mapped to an asymmetric key"));
    case eJobNotice::LoginlessUserLeftOut:
        return UserLeftOut(notice, Tr("its login is not known to the server"));
    case eJobNotice::PermissionLeftOut:
        return Format(
            Tr("warning: permission %s of %s on a securable of class %s is left out: the scripts cannot "
               "name it"),
            detail, subject, notice.strReason.c_str());
    case eJobNotice::NewApplicationRolePassword:
        return Format(
            Tr("warning: application role %s is written with a new password that nobody knows; give it "
               "one with ALTER APPLICATION ROLE"),
            subject);
    case eJobNotice::Cycle:
        return Format(Tr("warning: objects that use each other in a cycle, written in their usual order: %s"),
                      names.c_str());
    case eJobNotice::ReadCatalogFailed:
        return Format(Tr("cannot read the catalog's %s: %s"), subject, reason.c_str());
    case eJobNotice::ReadRowsFailed:
        if (MayBeDamaged(notice.strSubject))
            return Format(
                Tr("rows of %s: cannot be read by that name, which lost characters on the way from the "
                   "server: %s"),
                subject, reason.c_str());
        return Format(Tr("rows of %s: %s"), subject, reason.c_str());
    case eJobNotice::ValueUnwritable:
        return notice.strReason;
    case eJobNotice::NoSuchObject:
        return Format(Tr("no object %s in the catalog"), subject);
    case eJobNotice::AmbiguousName:
        return Format(Tr("%s names several objects (%s); give its schema as SCHEMA.NAME"), subject,
                      names.c_str());
    case eJobNotice::NoManifest:
        return Format(Tr("%s holds no %s: give a folder an export wrote, a .sql file or -"), subject,
                      kManifestName);
    case eJobNotice::ModuleExport:
        return Format(Tr("%s holds the module's per-category export, which does not apply to a database; "
                         "export --recreate writes scripts that apply"),
                      subject);
    case eJobNotice::GraphRowsLeftOut:
        return Format(
            TrN("warning: the rows of graph table %s are not written: its node and edge ids are the "
                "server's own",
                "warning: the rows of graph tables %s are not written: their node and edge ids are "
                "the server's own",
                count),
            names.c_str());
    case eJobNotice::ManifestLeavesFolder:
        return Format(Tr("%s/%s names %s, which is not a file inside the folder"), subject, kManifestName,
                      detail);
    case eJobNotice::NotUtf8:
        return ScriptLine(notice, Tr("not UTF-8 text"));
    case eJobNotice::WrongGoCount:
        return ScriptLine(notice, Tr("GO takes a positive whole number as its count"));
    case eJobNotice::WrongGoLine:
        return ScriptLine(notice, Tr("GO takes only a count and comments on its line"));
    case eJobNotice::SnapshotCannotApply:
        return Tr("apply runs scripts on a server: a catalog snapshot (SNAPSHOT=) cannot run them");
    case eJobNotice::ExistingUnknown:
        return Format(Tr("cannot see which objects the database has already: %s (--existing ok applies the "
                         "scripts without looking)"),
                      reason.c_str());
    case eJobNotice::ObjectExists:
        return Format(Tr("%s %s exists already (%s:%ld creates it)"), CreatedKindName(notice.aItems[0].nKind),
                      notice.aItems[0].strName.c_str(), subject, notice.nLine);
    case eJobNotice::MoreObjectsExist:
        return Format(
            TrN("and %lu more object", "and %lu more objects", static_cast<unsigned long>(notice.nCount)),
            static_cast<unsigned long>(notice.nCount));
    case eJobNotice::NothingApplied:
        return Tr(
            "nothing applied: the database has objects that the scripts create (--existing ok applies them "
            "all the same)");
    case eJobNotice::CannotBeginTransaction:
        return Format(Tr("cannot begin the transaction: %s"), reason.c_str());
    case eJobNotice::RunsAfterCommit:
        return Format(Tr("the full-text batches of %s run after the transaction commits, as SQL Server "
                         "does not change full-text catalogs and indexes inside one"),
                      names.c_str());
    case eJobNotice::Refused:
        return Format(Tr("%s: %s (SQLSTATE %s, native error %ld)"), Where(notice).c_str(), reason.c_str(),
                      detail, notice.nCount);
    case eJobNotice::DefaultDatabase:
        return Format(
            Tr("warning: the connect string names no database (DATABASE=): the scripts apply to the "
               "login's default database, %s"),
            subject);
    case eJobNotice::EmptyScript:
        return Tr("standard input is empty: nothing to apply");
    case eJobNotice::StreamCutShort:
        return OfStream(notice, Tr("the stream ended before its closing line: it was cut short"));
    case eJobNotice::StreamAltered:
        return OfStream(
            notice, Tr("the stream does not hold what its closing line says: it was changed or cut short"));
    case eJobNotice::LeavesDatabase:
        return Format(
            Tr("%s: %s would leave the scratch database; a folder compared is applied only inside it"),
            Where(notice).c_str(), detail);
    case eJobNotice::ServerMessage:
        return Where(notice) + ": " + reason;
    case eJobNotice::NotCarried:
        return NotCarried(notice);
    case eJobNotice::RowCount:
        return Where(notice) + ": " +
               Format(TrN("%lu row affected", "%lu rows affected", static_cast<unsigned long>(notice.nCount)),
                      static_cast<unsigned long>(notice.nCount));
    case eJobNotice::FolderWithoutShadow:
        return Format(Tr("%s is a folder: --shadow names the server to apply it to in a scratch database"),
                      subject);
    case eJobNotice::NoSuchSide:
        return Format(Tr("no such folder or snapshot: %s"), subject);
    case eJobNotice::RowsOfFolder:
        return Format(Tr("%s is a folder, whose rows --data-tables does not compare: compare a server or a "
                         "catalog snapshot that export --recreate --data --save-snapshot FILE recorded"),
                      subject);
    case eJobNotice::SnapshotWithoutModel:
        return Format(Tr("catalog snapshot %s holds no catalog model; record one with sqlscripts export "
                         "--recreate --save-snapshot FILE"),
                      subject);
    case eJobNotice::ShadowRefused:
        return Format(Tr("the --shadow server refused %s: %s"), subject, reason.c_str());
    case eJobNotice::ScratchNotApplied:
        return Format(Tr("%s could not be applied to a scratch database of the --shadow server"), subject);
    case eJobNotice::ScratchDatabaseLeft:
        return Format(Tr("warning: the scratch database %s is left on the --shadow server; drop it by hand"),
                      subject);
    case eJobNotice::MigrationRefused:
        return MigrationRefusal(notice);
    case eJobNotice::MigrationLoss:
        return Format(Tr("warning: %s"), MigrationRefusal(notice).c_str());
    case eJobNotice::RenameUnmatched:
        return RenameMisuse(notice);
    }
    return notice.strReason;
}

void SayNotices::OnNotice(const TJobNotice& notice) {
    Say(NoticeLine(notice));
}
