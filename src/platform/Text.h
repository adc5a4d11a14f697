// Small operations on UTF-8 text that several layers share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The items with the separator between them: "a, b, c".
std::string JoinText(const std::vector<std::string>& aItems, std::string_view strSeparator = ", ");
// The items of a comma-separated list, empty ones left out.
std::vector<std::string> SplitList(std::string_view strList);
// Appends the text with every chQuote doubled, as T-SQL writes a quote inside a literal or a closing bracket
// inside a delimited name.
void AppendDoubled(std::string& strOut, std::string_view strText, char chQuote);
std::string Doubled(std::string_view strText, char chQuote);
