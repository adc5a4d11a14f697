// Connect strings, read and changed in one way everywhere: KEY=value pairs separated by ';', keys without
// regard to case and blanks around keys and values left out. A value in braces may hold ';': it runs to the
// '}' that ends the text or comes right before a ';'.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TConnectPair {
    std::string_view strKey;     // as written, without the blanks around it
    std::string_view strValue;   // without its braces
    std::string_view strWritten; // the value as written, braces included
    size_t nNext = 0;            // where the pair after it starts
};

std::vector<TConnectPair> ParseConnectString(std::string_view strConnect);
// Whether two keys are the same, letter case aside.
bool SameConnectKey(std::string_view strKey, std::string_view strOther);

// The value of the first pair of that key; none when the string has no such key.
std::optional<std::string> FindConnectValue(std::string_view strConnect, std::string_view strKey);
// The same, empty when there is none.
std::string ConnectValue(std::string_view strConnect, std::string_view strKey);
// The string with every pair of that key left out and KEY=value added at its end, in braces where the value
// holds a ';', starts with '{' or has blanks at either end.
std::string WithConnectValue(std::string_view strConnect, std::string_view strKey, std::string_view strValue);
