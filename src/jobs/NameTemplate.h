// Where a file per object goes: a path relative to the output folder, made from a template with the
// placeholders {category}, {schema} and {name}.
#pragma once

#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

inline constexpr const char* kDefaultNameTemplate = "{category}/{schema}.{name}.sql";

enum class eNameTemplateFault {
    UnknownPlaceholder,
    NoCategoryOrName, // {category} or {name} missing
    LeavesFolder,     // the path leaves the folder or names no file
};

class CNameTemplate {
public:
    // What is wrong with the text as a template; none when it is one.
    static std::optional<eNameTemplateFault> FaultOf(const std::string& strText);
    // Throws std::invalid_argument when FaultOf finds a fault.
    explicit CNameTemplate(const std::string& strText);

    // An empty schema (a schema itself has none) drops {schema} with the '.' or '/' right after it.
    std::string Path(const std::string& strCategory, const std::string& strSchema,
                     const std::string& strName) const;
    // Path, with "~2", "~3", ... after the name where the path differs only in letter case from one already
    // used; setUsed gains its folded form.
    std::string UniquePath(const std::string& strCategory, const std::string& strSchema,
                           const std::string& strName, std::set<std::string>& setUsed) const;
    // Every path that Path gives for the category, schemas empty or not.
    std::regex Pattern(const std::string& strCategory, bool bWithSchema) const;

private:
    enum class ePart { Text, Category, Schema, Name };
    struct TPart {
        ePart eKind;
        std::string strText;
    };
    static std::vector<TPart> Parse(const std::string& strText, std::optional<eNameTemplateFault>& fault);

    std::vector<TPart> m_aParts;
};

// The name as a file name: %XX (hex of the byte) for / \ : * ? " < > | % ~ and control characters, and for
// the dots of a name that is "." or "..". '~' is escaped so that the suffix of names that differ only in
// letter case ("~2", "~3", ...) cannot be taken for part of a name.
std::string EscapeFileName(const std::string& strName);

// The pattern that matches the text alone.
std::regex LiteralPattern(const std::string& strText);

// The folder of a category's object files: its file name without ".sql".
std::string CategoryFolder(const std::string& strFile);
