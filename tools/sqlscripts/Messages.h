// What the host says, in the user's language: English, or the language of the user's locale where a
// translation exists (gettext, domain "sqlscripts"; Russian speaks with the module's own texts). The
// process's locale stays "C", so that nothing the library formats, parses or sends depends on the user's
// settings.
#pragma once

#include <string>

// Finds the translations: those installed beside the program, or those of the build tree.
void InitMessages();

// The text in the user's language. Marked for xgettext with --keyword=Tr.
[[gnu::format_arg(1)]] const char* Tr(const char* text);
// The form of the text for n (--keyword=TrN:1,2).
[[gnu::format_arg(1)]] [[gnu::format_arg(2)]] const char* TrN(const char* singular, const char* plural,
                                                              unsigned long n);
// Marks a text for translation where it is defined; Tr translates it where it is used (--keyword=TrLater).
constexpr const char* TrLater(const char* text) {
    return text;
}

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

// The system's words for an errno value, in the user's language.
std::string SystemReason(int error);

// A message of the module (which speaks Russian) in the user's language: the module's own texts are known by
// their resource, and what follows the prefix of a script failure (the driver's words) stays as it is.
std::string ModuleText(const std::string& text);

// One line on stderr: "sqlscripts: " and the text.
void Say(const std::string& line);
