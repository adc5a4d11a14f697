#include "ConnectString.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// The values of the password keys; a value in braces may hold ';' and ends at "}" before ';' or the end.
std::vector<std::string> Passwords(std::string_view connect) {
    std::vector<std::string> passwords;
    while (!connect.empty()) {
        const size_t equals = connect.find('=');
        if (equals == std::string_view::npos)
            break;
        const std::string_view key = Trim(connect.substr(0, equals));
        std::string_view rest = connect.substr(equals + 1);
        size_t end = rest.find(';');
        if (!rest.empty() && rest.front() == '{') {
            const size_t close = rest.find("};");
            end = close == std::string_view::npos ? std::string_view::npos : close + 1;
        }
        const std::string_view value = Trim(rest.substr(0, end));
        if ((SameNoCase(key, "PWD") || SameNoCase(key, "Password")) && !value.empty()) {
            passwords.emplace_back(value);
            if (value.size() > 2 && value.front() == '{' && value.back() == '}')
                passwords.emplace_back(value.substr(1, value.size() - 2));
        }
        connect = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return passwords;
}

} // namespace

std::string HideSecrets(std::string text, const std::string& connect) {
    for (const std::string& password : Passwords(connect))
        for (size_t at = text.find(password); at != std::string::npos; at = text.find(password, at + 3))
            text.replace(at, password.size(), "***");
    return text;
}

std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::string line;
    for (char ch : text) {
        if (ch == '\r')
            continue;
        if (ch == '\n')
            line += " / ";
        else
            line += ch;
    }
    return line;
}
