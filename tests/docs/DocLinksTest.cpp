// Every link of README.md and the pages of docs/ leads somewhere: to a file that exists and, after a #, to a
// heading or anchor of it. Every page is linked from the README and links back to it.
#include "docs/DocExamples.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Documents() {
    std::vector<fs::path> aPages;
    for (const auto& entry : fs::directory_iterator(kSourceDir / "docs"))
        if (entry.path().extension() == ".md")
            aPages.push_back(entry.path());
    std::sort(aPages.begin(), aPages.end());
    aPages.insert(aPages.begin(), kSourceDir / "README.md");
    return aPages;
}

// The lines of a page outside its fenced blocks, without their code spans.
std::vector<std::string> ProseLines(const fs::path& page) {
    std::vector<std::string> aLines;
    bool bFenced = false;
    for (const std::string& strLine : TextLines(ReadWholeFile(page.string()))) {
        bFenced = bFenced != strLine.starts_with("```");
        if (!bFenced && !strLine.starts_with("```"))
            aLines.push_back(std::regex_replace(strLine, std::regex("`[^`]*`"), ""));
    }
    return aLines;
}

// A heading's anchor as GitHub makes it: lower case, blanks as '-', other punctuation but '-' and '_' left
// out (the heading's code spans keep their text).
std::string Anchor(const std::string& strHeading) {
    std::string strAnchor;
    for (const unsigned char ch : strHeading)
        if (std::isalnum(ch) || ch == '-' || ch == '_' || ch >= 0x80)
            strAnchor += static_cast<char>(std::tolower(ch));
        else if (ch == ' ')
            strAnchor += '-';
    return strAnchor;
}

std::set<std::string> Anchors(const fs::path& page) {
    std::set<std::string> setAnchors;
    std::map<std::string, int> mapSeen;
    bool bFenced = false;
    const std::regex heading("^#+ (.*)$"), explicitId(R"(<a id="([^"]+)\">)");
    for (const std::string& strLine : TextLines(ReadWholeFile(page.string()))) {
        bFenced = bFenced != strLine.starts_with("```");
        std::smatch match;
        if (!bFenced && std::regex_match(strLine, match, heading)) {
            const std::string strAnchor = Anchor(match[1].str());
            const int nSeen = mapSeen[strAnchor]++;
            setAnchors.insert(nSeen == 0 ? strAnchor : strAnchor + "-" + std::to_string(nSeen));
        }
        for (std::sregex_iterator it(strLine.begin(), strLine.end(), explicitId), end; it != end; ++it)
            setAnchors.insert((*it)[1].str());
    }
    return setAnchors;
}

// The targets of the page's links and pictures that are not on the web.
std::vector<std::string> Targets(const fs::path& page) {
    std::vector<std::string> aTargets;
    const std::regex link(R"(\]\(([^)\s]+)\))");
    for (const std::string& strLine : ProseLines(page))
        for (std::sregex_iterator it(strLine.begin(), strLine.end(), link), end; it != end; ++it)
            if (const std::string strTarget = (*it)[1].str();
                !std::regex_search(strTarget, std::regex("^[a-z]+:")))
                aTargets.push_back(strTarget);
    return aTargets;
}

fs::path Resolved(const fs::path& page, const std::string& strTarget) {
    const std::string strPath = strTarget.substr(0, strTarget.find('#'));
    return strPath.empty() ? page : (page.parent_path() / strPath).lexically_normal();
}

TEST(DocLinks, EveryLinkLeadsToAFileAndAnAnchorOfIt) {
    for (const fs::path& page : Documents())
        for (const std::string& strTarget : Targets(page)) {
            SCOPED_TRACE(page.filename().string() + ": " + strTarget);
            const fs::path target = Resolved(page, strTarget);
            ASSERT_TRUE(fs::exists(target)) << target << " does not exist";
            const size_t nHash = strTarget.find('#');
            const std::string strAnchor = nHash == std::string::npos ? "" : strTarget.substr(nHash + 1);
            EXPECT_TRUE(strAnchor.empty() || Anchors(target).count(strAnchor)) << "no such heading or anchor";
        }
}

TEST(DocLinks, EveryPageIsLinkedFromTheReadmeAndBack) {
    const fs::path readme = kSourceDir / "README.md";
    std::set<fs::path> setFromReadme;
    for (const std::string& strTarget : Targets(readme))
        setFromReadme.insert(Resolved(readme, strTarget));
    for (const fs::path& page : Documents()) {
        if (page == readme)
            continue;
        EXPECT_TRUE(setFromReadme.count(page)) << page.filename() << " is not linked from the README";
        const std::vector<std::string> aTargets = Targets(page);
        EXPECT_TRUE(
            std::any_of(aTargets.begin(), aTargets.end(),
                        [&](const std::string& strTarget) { return Resolved(page, strTarget) == readme; }))
            << page.filename() << " does not link back to the README";
    }
}

} // namespace
