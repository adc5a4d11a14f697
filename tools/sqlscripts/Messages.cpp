#include "Messages.h"

#include "Installed.h"
#include "platform/String.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <libintl.h>
#include <locale.h>

namespace {

constexpr const char* kDomain = "sqlscripts";

// The user's messages locale, applied only around the look-ups; null (English) when the user's locale is "C"
// or not installed.
locale_t UserLocale() {
    static const locale_t locale = newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "", nullptr);
    return locale;
}

// Looks up in the user's locale on this thread only.
class InUserLocale {
public:
    explicit InUserLocale(locale_t locale) : previous_(uselocale(locale)) {}
    InUserLocale(const InUserLocale&) = delete;
    InUserLocale& operator=(const InUserLocale&) = delete;
    ~InUserLocale() { uselocale(previous_); }

private:
    locale_t previous_;
};

struct ModuleMessage {
    unsigned id;
    const char* text;
    bool prefix; // followed by the failure's own words
};

constexpr ModuleMessage kModuleMessages[] = {
    {28003, TrLater("cannot create the output folder"), false},
    {28004, TrLater("no file name given"), false},
    {28005, TrLater("no valid database connection"), false},
    {28006, TrLater("unknown error"), false},
    {28007, TrLater("cannot write a file"), false},
    {28008, TrLater("script failed: "), true},
    {28009, TrLater("wrong arguments"), false},
};

} // namespace

void InitMessages() {
    bindtextdomain(kDomain, InstalledOr("share/locale", SQLSCRIPTS_LOCALE_DIR).c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* text) {
    if (!UserLocale())
        return text;
    const InUserLocale in(UserLocale());
    return dgettext(kDomain, text);
}

const char* TrN(const char* singular, const char* plural, unsigned long n) {
    if (!UserLocale())
        return n == 1 ? singular : plural;
    const InUserLocale in(UserLocale());
    return dngettext(kDomain, singular, plural, n);
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string SystemReason(int error) {
    return UserLocale() ? strerror_l(error, UserLocale()) : std::strerror(error);
}

std::string ModuleText(const std::string& text) {
    for (const ModuleMessage& message : kModuleMessages) {
        CString module;
        module.LoadString(message.id);
        const std::string moduleText = module.Str();
        if (message.prefix ? text.starts_with(moduleText) : text == moduleText)
            return Tr(message.text) + text.substr(moduleText.size());
    }
    return text;
}

void Say(const std::string& line) {
    std::fprintf(stderr, "sqlscripts: %s\n", line.c_str());
}
