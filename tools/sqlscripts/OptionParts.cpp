#include "OptionParts.h"

#include "jobs/ObjectName.h"

#include <charconv>
#include <stdexcept>

void Usage(const std::string& message) {
    throw std::invalid_argument(message);
}

CLI::Validator WholeNumber(int min, int max) {
    return CLI::Validator(
        [min, max](std::string& value) {
            int number = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (error == std::errc() && end == value.data() + value.size() && number >= min && number <= max)
                return std::string();
            return Format(Tr("'%s' is not a whole number from %d to %d"), value.c_str(), min, max);
        },
        "");
}

CLI::Validator NotAnOption() {
    return CLI::Validator(
        [](std::string& value) {
            return value.starts_with("-")
                       ? Format(Tr("it is followed by the option %s instead of its value"), value.c_str())
                       : std::string();
        },
        "");
}

CLI::Option* AddTimeout(CLI::App& command, Source& source) {
    return command
        .add_option_function<int>(
            "--timeout", [&source](const int& seconds) { source.timeout = seconds; },
            "seconds the login may take (default 30) and each statement may wait for the server (default: "
            "no limit), 1 to 86400")
        ->type_name("SECONDS")
        ->check(WholeNumber(1, 86400));
}

CLI::Option* AddPasswordFile(CLI::App& command, Source& source) {
    return command
        .add_option("--password-file", source.passwordFile,
                    "the password of a connect string without PWD=: the first line of FILE, which only its "
                    "owner may read; without it SQLSCRIPTS_PASSWORD, else a question on the terminal where "
                    "the connect string has UID=")
        ->type_name("FILE")
        ->check(NotAnOption());
}

CLI::Option* AddLineEnds(CLI::App& command, std::function<void(const LineEnds&)> set,
                         const std::string& what) {
    return AddChoice<LineEnds>(command, "--line-ends", std::move(set),
                               {{"crlf", LineEnds::CrLf}, {"lf", LineEnds::Lf}},
                               "how the lines of " + what +
                                   " end: crlf (CR LF, the default, as SQL Server's tools write them) or lf "
                                   "(for version control); the definitions and values read from the "
                                   "database keep their own");
}

CLI::Option* AddTablePatterns(CLI::App& command, const char* name, std::vector<std::string>& patterns,
                              const std::string& help) {
    return command.add_option(name, patterns, help)
        ->type_name("PATTERNS")
        ->check(NotAnOption())
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
}

std::vector<std::string> TablePatterns(const char* option, const std::vector<std::string>& values) {
    std::vector<std::string> patterns;
    for (const std::string& value : values)
        for (const std::string& item : SplitNameList(value)) {
            if (ParseObjectName(item).strName.empty())
                Usage(Format(Tr("%s '%s': each pattern names a table, as SCHEMA.NAME or NAME with * for any "
                                "characters, the patterns separated by commas"),
                             option, value.c_str()));
            patterns.push_back(item);
        }
    return patterns;
}
