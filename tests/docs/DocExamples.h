// The command lines that the README's quick start and the man page's EXAMPLES show, run as a reader runs
// them: with sh, in a folder of their own, the build's sqlscripts first on the PATH. Their connect strings,
// "$CONNECT;DATABASE=NAME", are given a database (or a catalog snapshot) of the test's own.
#pragma once

#include "cases/CaseSupport.h"
#include "cases/HostRun.h"

#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

inline const std::filesystem::path kSourceDir =
    std::filesystem::path(SCRIPTS_CASES_DIR).parent_path().parent_path();

// A command line as a document shows it, with the lines a console block shows after it.
struct TDocCommand {
    std::string strLine;
    bool bConsole = false; // shown with what it prints (nothing, when aShown is empty)
    std::vector<std::string> aShown;
};

inline std::vector<std::string> TextLines(const std::string& strText) {
    std::vector<std::string> aLines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        aLines.push_back(strLine);
    return aLines;
}

// The part of a Markdown text under the heading line given, up to the next heading of its level or above.
inline std::string MarkdownSection(const std::string& strText, const std::string& strHeading) {
    const size_t nLevel = strHeading.find(' ');
    std::string strSection;
    bool bIn = false;
    for (const std::string& strLine : TextLines(strText)) {
        const size_t nHashes = strLine.find_first_not_of('#');
        if (bIn && nHashes > 0 && nHashes <= nLevel && nHashes != std::string::npos &&
            strLine[nHashes] == ' ')
            break;
        if (bIn)
            strSection += strLine + "\n";
        bIn = bIn || strLine == strHeading;
    }
    return strSection;
}

// Lines that end in a backslash or a pipe go on in the next, as the shell reads them.
inline void AddCommandLine(std::vector<TDocCommand>& aCommands, bool& bGoesOn, const std::string& strLine,
                           bool bConsole) {
    if (bGoesOn)
        aCommands.back().strLine += "\n" + strLine;
    else
        aCommands.push_back({strLine, bConsole, {}});
    bGoesOn = strLine.ends_with("\\") || strLine.ends_with("|");
}

// The commands of a Markdown text's sh and console blocks: in a console block the lines after "$ ", each with
// the lines after it; in a sh block every line but blanks and comments.
inline std::vector<TDocCommand> MarkdownCommands(const std::string& strText) {
    std::vector<TDocCommand> aCommands;
    std::string strBlock; // the fence's language while inside one
    bool bGoesOn = false;
    for (const std::string& strLine : TextLines(strText)) {
        if (strLine.starts_with("```")) {
            strBlock = strBlock.empty() ? strLine.substr(3) + " " : std::string();
            continue;
        }
        if (strBlock == "console " && (bGoesOn || strLine.starts_with("$ ")))
            AddCommandLine(aCommands, bGoesOn, bGoesOn ? strLine : strLine.substr(2), true);
        else if (strBlock == "console " && !aCommands.empty())
            aCommands.back().aShown.push_back(strLine);
        else if (strBlock == "sh " && (bGoesOn || (!strLine.empty() && !strLine.starts_with("#"))))
            AddCommandLine(aCommands, bGoesOn, strLine, false);
    }
    return aCommands;
}

// The commands of a man page's EXAMPLES (between .EX and .EE), its escapes read back.
inline std::vector<TDocCommand> ManPageCommands(const std::string& strRoff) {
    const size_t nStart = strRoff.find("\n.SH EXAMPLES\n");
    const std::string strExamples = strRoff.substr(nStart, strRoff.find("\n.SH ", nStart + 1) - nStart);
    std::vector<TDocCommand> aCommands;
    bool bIn = false, bGoesOn = false;
    for (std::string strLine : TextLines(strExamples)) {
        if (strLine == ".EX" || strLine == ".EE") {
            bIn = strLine == ".EX";
            continue;
        }
        if (!bIn)
            continue;
        for (const auto& [strEscape, strText] :
             {std::pair<std::string, std::string>{"\\-", "-"}, {"\\(aq", "'"}, {"\\e", "\\"}})
            for (size_t nAt = 0; (nAt = strLine.find(strEscape, nAt)) != std::string::npos;
                 nAt += strText.size())
                strLine.replace(nAt, strEscape.size(), strText);
        if (!strLine.empty())
            AddCommandLine(aCommands, bGoesOn, strLine, false);
    }
    return aCommands;
}

inline bool RunsSqlscripts(const std::string& strLine) {
    return std::regex_search(strLine, std::regex(R"((^|[|;&]\s*)sqlscripts\s)"));
}

// apply runs scripts on a server, and diff applies a folder to a scratch database of one.
inline bool NeedsServer(const std::string& strLine) {
    return strLine.find("sqlscripts apply") != std::string::npos ||
           strLine.find("--shadow") != std::string::npos;
}

inline bool IsDiff(const std::string& strLine) {
    return strLine.starts_with("sqlscripts diff ");
}

// The status the document has the command end with: diff says 2 when it refuses (a message shown) and 1 when
// the two differ (differences shown); everything else 0. None where either of diff's 0 and 1 is right (the
// output is not shown).
inline std::optional<int> ExpectedStatus(const TDocCommand& command) {
    if (!IsDiff(command.strLine))
        return 0;
    if (!command.bConsole)
        return std::nullopt;
    for (const std::string& strShown : command.aShown)
        if (strShown.starts_with("sqlscripts: "))
            return 2;
    return command.aShown.empty() ? 0 : 1;
}

// The command with each "$CONNECT;DATABASE=NAME" replaced by what mapConnect gives for NAME, and the bundled
// samples' installed folder by the tree's; none when it names a database the map has not.
inline std::optional<std::string> WithConnects(const std::string& strLine,
                                               const std::map<std::string, std::string>& mapConnect) {
    std::string strOut = std::regex_replace(strLine, std::regex("/usr/share/sqlscripts/samples/"),
                                            (kSourceDir / "samples").string() + "/");
    const std::regex connect(R"(\$CONNECT;DATABASE=(\w+))");
    for (std::smatch match; std::regex_search(strOut, match, connect);) {
        const auto found = mapConnect.find(match[1].str());
        if (found == mapConnect.end())
            return std::nullopt;
        strOut.replace(match.position(0), match.length(0), found->second);
    }
    return strOut;
}

// Runs the command with sh in strDir, the build's sqlscripts first on the PATH.
inline THostRun RunDocCommand(const std::string& strLine, const std::string& strDir) {
    const std::string strBin = std::filesystem::path(SQLSCRIPTS_BINARY).parent_path().string();
    return RunHost({"-c", "PATH='" + strBin + "':\"$PATH\"\n" + strLine}, strDir, {}, {}, "/dev/null",
                   "/bin/sh");
}

// What a usage error says after its reason: the options were not the program's (or its command's).
inline bool IsUsageError(const THostRun& run) {
    return run.nStatus == 2 && run.strErr.find(" --help lists ") != std::string::npos;
}

inline std::string Joined(const std::vector<std::string>& aLines) {
    std::string strText;
    for (const std::string& strLine : aLines)
        strText += strLine + "\n";
    return strText;
}

// The run ends as the document shows: never in a usage error; where the document shows diff refusing, or the
// differences it finds, those exactly; and with the status the document has, where bExact (the databases are
// as the commands before left them), else for a diff either of 0 and 1 too.
inline void ExpectAsShown(const TDocCommand& command, const THostRun& run, bool bExact) {
    EXPECT_FALSE(IsUsageError(run)) << run.strErr;
    const std::optional<int> nExpected = ExpectedStatus(command);
    if (run.nStatus == nExpected && (nExpected == 1 || nExpected == 2)) {
        EXPECT_SCRIPT(nExpected == 1 ? run.strOut : run.strErr, Joined(command.aShown));
    }
    const bool bEitherOfDiff = IsDiff(command.strLine) && (!bExact || !nExpected);
    if (!bEitherOfDiff || (run.nStatus != 0 && run.nStatus != 1)) {
        EXPECT_EQ(run.nStatus, nExpected.value_or(0)) << run.strErr;
    }
}

inline std::string ReadmeQuickStart() {
    return MarkdownSection(ReadWholeFile((kSourceDir / "README.md").string()), "## Quick start");
}

inline std::string ManPageTemplate() {
    return ReadWholeFile((kSourceDir / "tools/sqlscripts/sqlscripts.1.in").string());
}
