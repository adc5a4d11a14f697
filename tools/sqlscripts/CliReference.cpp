#include "CliReference.h"

#include "Categories.h"
#include "Messages.h"
#include "export/CategoryTable.h"
#include "jobs/KindSelection.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <set>
#include <sstream>

namespace {

constexpr const char* kProgram = "sqlscripts";

// What an option's value is, from its type name: "TEXT:{ask,all,never}" is a TEXT of three choices (a
// transformer's "{ask->0,all->1}" gives the same).
struct ValueType {
    std::string base;
    std::vector<std::string> choices;
};

ValueType TypeOf(const CLI::Option& option) {
    const std::string full = option.get_type_name();
    const size_t colon = full.find(':');
    ValueType type{full.substr(0, colon), {}};
    const size_t open = full.find('{', colon == std::string::npos ? full.size() : colon);
    const size_t close = full.find('}', open);
    if (close == std::string::npos)
        return type;
    std::istringstream items(full.substr(open + 1, close - open - 1));
    for (std::string item; std::getline(items, item, ',');)
        type.choices.push_back(item.substr(0, item.find("->")));
    return type;
}

bool TakesValue(const CLI::Option& option) {
    return option.get_expected_max() > 0;
}

// Options with an empty group are hidden from --help, and so from the page and the completions.
bool Shown(const CLI::Option* option) {
    return !option->get_group().empty();
}

std::string LongName(const CLI::Option& option) {
    return option.get_lnames().empty() ? "-" + option.get_snames().front()
                                       : "--" + option.get_lnames().front();
}

std::vector<const CLI::App*> Commands(const CLI::App& app) {
    return app.get_subcommands([](const CLI::App* sub) { return !sub->get_name().empty(); });
}

std::vector<const CLI::App*> Groups(const CLI::App& command) {
    return command.get_subcommands([](const CLI::App* sub) { return sub->get_name().empty(); });
}

// The named options of a command or group as --help lists them, without -h,--help.
std::vector<const CLI::Option*> OwnOptions(const CLI::App& command) {
    return command.get_options([&command](const CLI::Option* option) {
        return Shown(option) && option->nonpositional() && option != command.get_help_ptr();
    });
}

std::vector<const CLI::Option*> Positionals(const CLI::App& command) {
    return command.get_options([](const CLI::Option* option) { return !option->nonpositional(); });
}

// The named options of a command, those of its groups first.
std::vector<const CLI::Option*> NamedOptions(const CLI::App& command) {
    std::vector<const CLI::Option*> options;
    for (const CLI::App* group : Groups(command))
        for (const CLI::Option* option : OwnOptions(*group))
            options.push_back(option);
    for (const CLI::Option* option : OwnOptions(command))
        options.push_back(option);
    return options;
}

const CLI::Option* FindOption(const CLI::App& command, const std::string& name) {
    for (const CLI::Option* option : NamedOptions(command))
        if (option->check_name(name))
            return option;
    return nullptr;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// roff wants a backslash written as \e, and a hyphen that starts a word (an option's) as \- so that it can
// be copied from the page.
std::string Roff(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\')
            out += "\\e";
        else if (c == '-' && (i == 0 || std::string(" (-/|").find(text[i - 1]) != std::string::npos))
            out += "\\-";
        else
            out += c;
    }
    return StartsWith(out, ".") || StartsWith(out, "'") ? "\\&" + out : out;
}

std::string Sentence(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text.empty() || text.back() == '.' ? text : text + ".";
}

std::string Join(const std::vector<std::string>& items, const std::string& separator) {
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : separator) + item;
    return joined;
}

// The value after an option's name: DIR, or ask|all|never when the choices are the whole story.
std::string ValueRoff(const CLI::Option& option) {
    const ValueType type = TypeOf(option);
    if (type.base == "TEXT" && !type.choices.empty()) {
        std::vector<std::string> choices;
        for (const std::string& choice : type.choices)
            choices.push_back("\\fI" + Roff(choice) + "\\fR");
        return Join(choices, "|");
    }
    return "\\fI" + Roff(ValueName(option)) + "\\fR";
}

std::string OptionRoff(const CLI::Option& option) {
    const std::string name = "\\fB" + Roff(LongName(option)) + "\\fR";
    return TakesValue(option) ? name + " " + ValueRoff(option) : name;
}

// -h, --help: every name of the option, then its value.
std::string ItemRoff(const CLI::Option& option) {
    std::vector<std::string> names;
    for (const std::string& name : option.get_snames())
        names.push_back("\\fB" + Roff("-" + name) + "\\fR");
    for (const std::string& name : option.get_lnames())
        names.push_back("\\fB" + Roff("--" + name) + "\\fR");
    return Join(names, ", ") + (TakesValue(option) ? " " + ValueRoff(option) : "");
}

void PrintOptionItem(std::ostream& out, const CLI::Option& option) {
    out << ".TP\n" << ItemRoff(option) << "\n" << Roff(Sentence(option.get_description()));
    const ValueType type = TypeOf(option);
    if (type.base != "TEXT" && !type.choices.empty())
        out << " " << Roff(type.base) << " is one of " << Roff(Join(type.choices, ", ")) << ".";
    if (TakesValue(option) && !option.get_default_str().empty())
        out << " Default: \\fB" << Roff(option.get_default_str()) << "\\fR.";
    std::vector<std::string> excluded;
    for (const CLI::Option* other : option.get_excludes())
        excluded.push_back(Roff(LongName(*other)));
    std::sort(excluded.begin(), excluded.end());
    if (!excluded.empty())
        out << " Not with " << Join(excluded, ", ") << ".";
    out << "\n";
}

// sqlscripts export (--connect STR | --snapshot FILE) [option]...
void PrintSynopsis(std::ostream& out, const CLI::App& app) {
    for (const CLI::App* command : Commands(app)) {
        out << "\\fB" << kProgram << " " << Roff(command->get_name()) << "\\fR";
        for (const CLI::Option* positional : Positionals(*command))
            out << " " << ValueRoff(*positional);
        for (const CLI::App* group : Groups(*command)) {
            std::vector<std::string> choices;
            for (const CLI::Option* option : OwnOptions(*group))
                choices.push_back(OptionRoff(*option));
            const bool required = group->get_require_option_min() > 0;
            out << (required ? " (" : " [") << Join(choices, " | ") << (required ? ")" : "]");
        }
        if (!OwnOptions(*command).empty())
            out << " [\\fIoption\\fR]...";
        out << "\n.br\n";
    }
    std::vector<std::string> general = {OptionRoff(*app.get_help_ptr())};
    for (const CLI::Option* option : OwnOptions(app))
        general.push_back(OptionRoff(*option));
    out << "\\fB" << kProgram << "\\fR " << Join(general, " | ") << "\n";
}

void PrintCommands(std::ostream& out, const CLI::App& app) {
    for (const CLI::App* command : Commands(app)) {
        out << ".SS \"" << kProgram << " " << Roff(command->get_name()) << "\"\n"
            << Roff(Sentence(command->get_description())) << "\n";
        for (const CLI::Option* positional : Positionals(*command))
            out << ".TP\n"
                << ValueRoff(*positional) << "\n"
                << Roff(Sentence(positional->get_description())) << "\n";
        for (const CLI::Option* option : NamedOptions(*command))
            PrintOptionItem(out, *option);
    }
}

void PrintGeneralOptions(std::ostream& out, const CLI::App& app) {
    for (const CLI::Option* option : app.get_options(Shown))
        PrintOptionItem(out, *option);
}

void PrintCategories(std::ostream& out) {
    out << ".sp\n.PD 0\n";
    for (size_t category = 0; category < CategoryNames().size(); ++category)
        out << ".TP 12\n.B " << CategoryNames()[category] << "\n"
            << Roff(g_aCategories[category].pszDefaultFile) << "\n";
    out << ".PD\n";
}

std::vector<std::string> Matching(const std::vector<std::string>& candidates, const std::string& prefix,
                                  const std::string& lead) {
    std::vector<std::string> matching;
    for (const std::string& candidate : candidates)
        if (StartsWith(candidate, prefix))
            matching.push_back(lead + candidate);
    return matching;
}

// A comma-separated list of the names: the next name after those already in the list.
std::vector<std::string> ListValues(const std::vector<std::string>& names, const std::string& prefix,
                                    const std::string& lead) {
    const size_t comma = prefix.rfind(',');
    const std::string head = comma == std::string::npos ? "" : prefix.substr(0, comma + 1);
    std::vector<std::string> rest;
    for (const std::string& name : names)
        if (("," + head).find("," + name + ",") == std::string::npos)
            rest.push_back(name);
    return Matching(rest, prefix.substr(head.size()), lead + head);
}

// Edits (a character added, left out or changed) that make one text the other.
size_t EditDistance(const std::string& from, const std::string& to) {
    std::vector<size_t> row(to.size() + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= from.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= to.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[to.size()];
}

// --help's option lines: the name and value, the description, then what the option needs and excludes, each
// list on a line of its own in the description's column.
class ReferenceFormatter : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* option, bool positional) const override {
        std::stringstream out;
        CLI::detail::format_help(out, make_option_name(option, positional) + ValueText(*option),
                                 make_option_desc(option), get_column_width());
        const std::pair<const char*, std::set<CLI::Option*>> lists[] = {{"Needs", option->get_needs()},
                                                                        {"Excludes", option->get_excludes()}};
        for (const auto& [label, others] : lists) {
            if (others.empty())
                continue;
            std::vector<std::string> names;
            for (const CLI::Option* other : others)
                names.push_back(other->get_name());
            std::sort(names.begin(), names.end());
            out << std::string(get_column_width(), ' ') << get_label(label) << ": " << Join(names, " ")
                << "\n";
        }
        return out.str();
    }

private:
    std::string ValueText(const CLI::Option& option) const {
        if (!option.get_option_text().empty())
            return " " + option.get_option_text();
        if (option.get_type_size() == 0)
            return "";
        std::string text = option.get_type_name().empty() ? "" : " " + get_label(option.get_type_name());
        if (!option.get_default_str().empty())
            text += "=" + option.get_default_str();
        if (option.get_expected_max() == CLI::detail::expected_max_vector_size)
            text += " ...";
        return option.get_required() ? text + " " + get_label("REQUIRED") : text;
    }
};

// The values an option takes; none where the shell's file names fit (folders, files, connect strings).
// listNames: what a LIST names, the categories or, with --recreate, the kinds of objects.
std::vector<std::string> Values(const CLI::Option& option, const std::string& prefix, const std::string& lead,
                                const std::vector<std::string>& listNames) {
    const ValueType type = TypeOf(option);
    if (type.base == "LIST")
        return ListValues(listNames, prefix, lead);
    if (type.base == "CATEGORY=NAME") {
        std::vector<std::string> names;
        for (const std::string& name : CategoryNames())
            names.push_back(name + "=");
        return Matching(names, prefix, lead);
    }
    return Matching(type.choices, prefix, lead);
}

std::vector<std::string> Complete(const CLI::App& app, const std::vector<std::string>& words) {
    const CLI::App* command = &app;
    const CLI::Option* pending = nullptr;
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string& word = words[i];
        if (pending) {
            pending = nullptr;
        } else if (StartsWith(word, "-")) {
            const CLI::Option* option = FindOption(*command, word);
            pending = option && TakesValue(*option) ? option : nullptr;
        } else if (command == &app) {
            for (const CLI::App* sub : Commands(app))
                command = sub->get_name() == word ? sub : command;
        }
    }
    const std::string current = words.empty() ? "" : words.back();
    const bool recreate = std::find(words.begin(), words.end(), "--recreate") != words.end();
    const std::vector<std::string>& listNames = recreate ? RecreateKindNames() : CategoryNames();
    if (pending)
        return Values(*pending, current, "", listNames);
    const size_t equals = current.find('=');
    if (StartsWith(current, "--") && equals != std::string::npos) {
        const CLI::Option* option = FindOption(*command, current.substr(0, equals));
        return option ? Values(*option, current.substr(equals + 1), current.substr(0, equals + 1), listNames)
                      : std::vector<std::string>();
    }
    std::vector<std::string> names;
    if (StartsWith(current, "-")) {
        for (const CLI::Option* option : NamedOptions(*command))
            names.push_back(LongName(*option));
        names.push_back("--help");
    } else if (command == &app) {
        for (const CLI::App* sub : Commands(app))
            names.push_back(sub->get_name());
    }
    return Matching(names, current, "");
}

} // namespace

std::string ValueName(const CLI::Option& option) {
    const ValueType type = TypeOf(option);
    const std::string name =
        option.get_lnames().empty() ? option.get_name(true) : option.get_lnames().front();
    return type.base == "TEXT" || type.base.empty() ? Upper(name) : type.base;
}

std::optional<std::string> NearestOption(const CLI::App& command, const std::string& typed) {
    constexpr size_t kFarthest = 2;
    const std::string name = typed.substr(0, typed.find('='));
    std::optional<std::string> nearest;
    size_t nearestDistance = kFarthest + 1;
    for (const CLI::Option* option : NamedOptions(command)) {
        const std::string candidate = LongName(*option);
        const size_t distance = EditDistance(name, candidate);
        if (distance < nearestDistance) {
            nearest = candidate;
            nearestDistance = distance;
        }
    }
    return nearest;
}

std::shared_ptr<CLI::Formatter> HelpFormatter() {
    return std::make_shared<ReferenceFormatter>();
}

std::optional<int> ServeCliReference(const CLI::App& app, int argc, const char* const* argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--complete") {
        for (const std::string& candidate : Complete(app, std::vector<std::string>(argv + 2, argv + argc)))
            std::cout << candidate << "\n";
        return 0;
    }
    if (first != "--man-page")
        return std::nullopt;
    const std::string section = argc > 2 ? argv[2] : "";
    if (section == "synopsis")
        PrintSynopsis(std::cout, app);
    else if (section == "commands")
        PrintCommands(std::cout, app);
    else if (section == "options")
        PrintGeneralOptions(std::cout, app);
    else if (section == "categories")
        PrintCategories(std::cout);
    else {
        Say(Tr("--man-page wants the section to print: synopsis, commands, options or categories"));
        return 2;
    }
    return 0;
}
