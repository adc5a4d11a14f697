#include "ReplaceQuestion.h"

#include "Interruption.h"
#include "Messages.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// An answer as the question shows it: its number, its words in the language shown, and the first letter of
// their last word ("y", "a" for "Yes to all", "n", "c"), any of which the user may type.
struct Choice {
    eReplaceAnswer answer;
    std::string number;
    std::string words;
    std::string letter;
};

std::vector<Choice> Choices() {
    std::vector<Choice> choices;
    for (const auto& [answer, words] :
         {std::pair{eReplaceAnswer::Yes, Tr("Yes")}, std::pair{eReplaceAnswer::YesToAll, Tr("Yes to all")},
          std::pair{eReplaceAnswer::No, Tr("No")}, std::pair{eReplaceAnswer::Cancel, Tr("Cancel")}}) {
        const std::string_view text(words);
        const std::string_view last = text.substr(text.rfind(' ') + 1);
        choices.push_back({answer, std::to_string(choices.size() + 1), words,
                           FoldCaseUtf8(last.substr(0, Utf8PrefixBytes(last.data(), last.size(), 1)))});
    }
    return choices;
}

std::optional<eReplaceAnswer> Understood(const std::vector<Choice>& choices, const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    const std::string typed =
        first == std::string::npos
            ? std::string()
            : FoldCaseUtf8(line.substr(first, line.find_last_not_of(" \t\r") + 1 - first));
    for (const Choice& choice : choices)
        if (typed == choice.number || typed == choice.letter || typed == FoldCaseUtf8(choice.words))
            return choice.answer;
    return std::nullopt;
}

} // namespace

// As the module's replace dialog asks it, with the answers' letters beside their numbers; anything else is
// answered with what the question takes.
eReplaceAnswer AskToReplace(const std::string& shown, Progress* progress) {
    const ProgressPause pause(progress);
    std::fprintf(stderr, "%s\n  %s\n  %s\n", Tr("Confirm file replacement"),
                 Format(Tr("The folder already holds the file %s"), shown.c_str()).c_str(),
                 Tr("Replace the existing file?"));
    const std::vector<Choice> choices = Choices();
    std::string prompt, numbers, letters;
    for (const Choice& choice : choices) {
        prompt += (prompt.empty() ? "[" : "  [") + choice.number + "/" + choice.letter + "] " + choice.words;
        numbers += (numbers.empty() ? "" : ", ") + choice.number;
        letters += (letters.empty() ? "" : ", ") + choice.letter;
    }
    for (bool again = false;; again = true) {
        if (again)
            std::fprintf(stderr, "%s\n",
                         Format(Tr("Answer %s or %s."), numbers.c_str(), letters.c_str()).c_str());
        std::fprintf(stderr, "%s: ", prompt.c_str());
        std::fflush(stderr);
        const std::optional<std::string> line = ReadTypedLine();
        if (!line)
            return eReplaceAnswer::Cancel;
        if (const std::optional<eReplaceAnswer> answer = Understood(choices, *line))
            return *answer;
    }
}
