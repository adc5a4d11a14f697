#include "ObjectName.h"

namespace {

// Where the delimited part that starts at text[at] ends: after its closing bracket or quote, or at the end.
size_t DelimitedEnd(std::string_view text, size_t at, std::string* part) {
    const char close = text[at] == '[' ? ']' : '"';
    for (++at; at < text.size(); ++at) {
        if (text[at] == close && at + 1 < text.size() && text[at + 1] == close)
            ++at;
        else if (text[at] == close)
            return at + 1;
        if (part)
            *part += text[at];
    }
    return at;
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos
               ? std::string()
               : std::string(text.substr(first, text.find_last_not_of(' ') + 1 - first));
}

} // namespace

ObjectName ParseObjectName(std::string_view text) {
    std::vector<std::string> parts{std::string()};
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if ((ch == '[' || ch == '"') && parts.back().empty())
            i = DelimitedEnd(text, i, &parts.back()) - 1;
        else if (ch == '.' && parts.size() == 1)
            parts.emplace_back();
        else
            parts.back() += ch;
    }
    return parts.size() == 1 ? ObjectName{std::string(), parts[0]} : ObjectName{parts[0], parts[1]};
}

std::vector<std::string> SplitNameList(std::string_view text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && (text[i] == '[' || text[i] == '"')) {
            i = DelimitedEnd(text, i, nullptr) - 1;
        } else if (i == text.size() || text[i] == ',') {
            items.push_back(Trimmed(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return items;
}
