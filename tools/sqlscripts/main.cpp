// sqlscripts: scripts a SQL Server database's objects from the terminal.
#include "ApplyCommand.h"
#include "ConnectString.h"
#include "DemoCommand.h"
#include "DialogExport.h"
#include "DiffCommand.h"
#include "ExportCommand.h"
#include "HostUi.h"
#include "Interruption.h"
#include "Messages.h"
#include "Options.h"
#include "Password.h"
#include "Session.h"

#include "backend/Snapshot.h"
#include "jobs/ObjectName.h"
#include "platform/Exceptions.h"
#include "scripts/ScriptApi.h"
#include "ui/Ui.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <strings.h>

namespace {

// The categories, names, folder and COLLATION option come from the options dialog instead of the options.
int RunDialogExport(const Source& source, const ExportOptions& options) {
    std::string error;
    std::unique_ptr<DialogExport> session = DialogExport::Open(error);
    if (!session) {
        Say(Format(Tr("--dialog: %s"), error.c_str()));
        return kExitUsage;
    }
    CDatabase db;
    const std::optional<PrefetchChoice> prefetch = ConnectForExport(db, source, options.prefetch);
    if (!prefetch)
        return kExitFailed;
    return session->Run(db, options.dir, options.parallel, prefetch->prefetch);
}

int PrintResult(bool ok, const CString& text) {
    if (!ok)
        return kExitFailed;
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), stdout);
    return kExitOk;
}

// An object the module knows but writes no script for on its own (an index, a unique constraint, full text).
int PrintScript(bool ok, const CString& script, const std::string& name) {
    if (ok && script.IsEmpty())
        Say(Format(Tr("nothing to script for %s"), name.c_str()));
    return PrintResult(ok, script);
}

// The module scripts objects of schema dbo, named without it: dbo.NAME and [dbo].[NAME] are taken as NAME.
// Any other text is the name itself, which may hold dots.
std::string DboObjectName(const std::string& text) {
    const TObjectName name = ParseObjectName(text);
    return strcasecmp(name.strSchema.c_str(), "dbo") == 0 ? name.strName : text;
}

// Runs a call of the module on the connection, with the host's user interface in place.
int OnModule(const Source& source, const std::function<int(CDatabase&, HostUi&)>& call) {
    HostUi ui;
    const CUiBackendScope scope(&ui);
    CDatabase db;
    if (!Connect(db, source))
        return kExitFailed;
    return call(db, ui);
}

int RunObject(const CommandLine& line) {
    if (line.recreate)
        return PrintRecreateObject(line.name, line.strict, line.objectLineEnds,
                                   [&line](CDatabase& db) { return Connect(db, line.source); });
    const std::string name = DboObjectName(line.name);
    return OnModule(line.source, [&line, &name](CDatabase& db, HostUi& ui) {
        CString script;
        try {
            if (!line.type) {
                ui.ExpectObject(name, !ParseObjectName(name).strSchema.empty());
                return PrintScript(GenerateSQLScriptObject(db, name.c_str(), script, !line.collation) != 0,
                                   script, name);
            }
            const TErrState result = GetSqlScriptObject(db, static_cast<eSqlTypeObjects>(*line.type),
                                                        name.c_str(), script, !line.collation);
            if (result.nError)
                Say(ModuleText(OneLine(result.strMessage.Str())));
            return PrintScript(result.nError == 0, script, name);
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            Say(OneLine(e->GetErrorText().Str()));
            return kExitFailed;
        }
    });
}

int RunFields(const CommandLine& line) {
    const std::string name = DboObjectName(line.name);
    return OnModule(line.source, [&name](CDatabase& db, HostUi&) {
        CString fields;
        if (GenerateSQLScriptFields(db, name.c_str(), fields) && fields.IsEmpty()) {
            Say(Format(Tr("%s is not a table or view of schema dbo"), name.c_str()));
            return kExitFailed;
        }
        return PrintResult(!fields.IsEmpty(), fields);
    });
}

// Rewrites a snapshot of any version this program reads in the version it writes.
int RunSnapshotUpgrade(const CommandLine& line) {
    try {
        CCatalogSnapshot::Load(line.snapshotInput)->SaveAs(line.snapshotOutput);
        return kExitOk;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        Say(OneLine(e->GetErrorText().Str()));
        return kExitFailed;
    }
}

} // namespace

int main(int argc, char** argv) {
    const InterruptionWatch watch;
    InitMessages();
    CommandLine line;
    if (const std::optional<int> status = ParseCommandLine(argc, argv, line))
        return *status;
    if (const std::optional<int> status = FillPasswords(line))
        return *status;
    switch (line.command) {
    case CommandLine::Command::Export:
        if (line.exportOptions.recreate || line.exportOptions.dataOnly)
            return ExportRecreate(line.exportOptions,
                                  [&line](CDatabase& db) { return Connect(db, line.source); });
        return line.exportOptions.dialog ? RunDialogExport(line.source, line.exportOptions)
                                         : RunExport(line.source, line.exportOptions);
    case CommandLine::Command::Object:
        return RunObject(line);
    case CommandLine::Command::Fields:
        return RunFields(line);
    case CommandLine::Command::Diff:
        return RunDiff(line.diff);
    case CommandLine::Command::Demo:
        return RunDemo(line.demoDir);
    case CommandLine::Command::SnapshotUpgrade:
        return RunSnapshotUpgrade(line);
    case CommandLine::Command::Apply:
        return RunApply(line.applyOptions, line.source.connect,
                        [&line](CDatabase& db) { return Connect(db, line.source); });
    }
    return kExitFailed;
}
