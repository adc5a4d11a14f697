// Names as a person writes them: SCHEMA.NAME, a part in brackets or double quotes where it holds a dot, a
// comma or a blank, and lists of them separated by commas.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TObjectName {
    std::string strSchema; // empty when the text names none
    std::string strName;
};

// SCHEMA.NAME, either part in brackets ([my.schema], ]] standing for ]) or double quotes ("my table", ""
// for "); without a dot, NAME alone.
TObjectName ParseObjectName(std::string_view strText);
// The parts of a multi-part name, split at every dot outside brackets and double quotes, without them.
std::vector<std::string> NameParts(std::string_view strText);
// Where ch first stands outside brackets and double quotes; npos where it does not.
size_t FindUndelimited(std::string_view strText, char ch);
// The items of a comma-separated list, without the blanks around them; a comma in brackets or double quotes
// belongs to its item.
std::vector<std::string> SplitNameList(std::string_view strText);
