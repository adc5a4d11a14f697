// Names as the user writes them on the command line: SCHEMA.NAME, a part in brackets or double quotes where
// it holds a dot, a comma or a blank, and lists of them separated by commas.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ObjectName {
    std::string schema; // empty when the text names none
    std::string name;
};

// SCHEMA.NAME, either part in brackets ([my.schema], ]] standing for ]) or double quotes ("my table", ""
// for "); without a dot, NAME alone.
ObjectName ParseObjectName(std::string_view text);
// The items of a comma-separated list, without the blanks around them; a comma in brackets or double quotes
// belongs to its item.
std::vector<std::string> SplitNameList(std::string_view text);
