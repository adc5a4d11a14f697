// What the options of the commands share: usage errors, the checks of values, and options made of words; and
// each command's options (ExportOptions.cpp, ApplyOptions.cpp, DiffOptions.cpp).
#pragma once

#include "Messages.h"
#include "Options.h"
#include "platform/Text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A usage error naming what is wrong: thrown as std::invalid_argument, which ParseCommandLine says.
[[noreturn]] void Usage(const std::string& message);
// A whole number from min to max; any other value is named with what is expected.
CLI::Validator WholeNumber(int min, int max);
// A value that looks like an option (--data-tables --dir out) is one: the option before it lacks its value.
CLI::Validator NotAnOption();
CLI::Option* AddTimeout(CLI::App& command, Source& source);
// --data-tables and its kin: one value an option, taken as written, as the patterns' own brackets are no list
// of CLI11's; repeatable.
CLI::Option* AddTablePatterns(CLI::App& command, const char* name, std::vector<std::string>& patterns,
                              const std::string& help);
// The patterns of the option's values, each split at its commas; a pattern that names no table is a usage
// error.
std::vector<std::string> TablePatterns(const char* option, const std::vector<std::string>& values);
CLI::Option* AddPasswordFile(CLI::App& command, Source& source);

// An option whose words stand for the values of an enumeration: they are mapped in one place, and any other
// word is a usage error that lists them.
// The type name and the mapping's "{a,b}" are what the man page and the completions read.
template <class T>
inline CLI::Option* AddChoice(CLI::App& command, const std::string& name, std::function<void(const T&)> set,
                              const std::vector<std::pair<std::string, T>>& choices, const std::string& help,
                              const std::string& typeName = "TEXT") {
    std::vector<std::string> choiceWords;
    for (const auto& [word, value] : choices)
        choiceWords.push_back(word);
    const std::string words = JoinText(choiceWords, "|");
    const std::string listed = JoinText(choiceWords, ",");
    const CLI::Validator mapping(
        [choices, words](std::string& value) {
            const auto it = std::find_if(choices.begin(), choices.end(),
                                         [&value](const auto& choice) { return choice.first == value; });
            if (it == choices.end())
                return Format(Tr("'%s' is not one of %s"), value.c_str(), words.c_str());
            value = std::to_string(static_cast<int>(it->second));
            return std::string();
        },
        "{" + listed + "}");
    return command.add_option_function<T>(name, std::move(set), help)
        ->transform(mapping)
        ->type_name(typeName)
        ->option_text(typeName == "TEXT" ? words : typeName);
}

// --line-ends for the files of what: "the files".
CLI::Option* AddLineEnds(CLI::App& command, std::function<void(const LineEnds&)> set,
                         const std::string& what);

void AddExportOptions(CLI::App& command, ExportOptions& options);
void AddApplyOptions(CLI::App& command, Source& source, ApplyOptions& options);
void AddDiffOptions(CLI::App& command, DiffOptions& options);
