// What a name looks like when characters were lost on the way: the driver (or the server) puts '?' for a
// character that the connection's character set or the server's code page for names lacks, some drivers
// U+FFFD.
#pragma once

#include <string_view>

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// A '?' may belong to the name: the callers say "may".
inline bool MayBeDamaged(std::string_view name) {
    return name.find('?') != std::string_view::npos ||
           name.find(kReplacementCharacter) != std::string_view::npos;
}
