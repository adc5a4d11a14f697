// export --layout objects: a file per object, named by a template, the folder's list of the files exports
// wrote, and the files left from objects that are gone.
#pragma once

#include "ExportOutput.h"

#include <regex>
#include <set>
#include <string>
#include <vector>

constexpr const char* kDefaultNameTemplate = "{category}/{schema}.{name}.sql";

// A path relative to the output folder, with the placeholders {category}, {schema} and {name}.
class NameTemplate {
public:
    // Throws std::invalid_argument, saying why, when {category} or {name} is missing, a placeholder is
    // unknown, the path leaves the folder or names no file.
    explicit NameTemplate(const std::string& text);

    // An empty schema (a schema itself has none) drops {schema} with the '.' or '/' right after it.
    std::string Path(const std::string& category, const std::string& schema, const std::string& name) const;
    // Path, with "~2", "~3", ... after the name where the path differs only in letter case from one already
    // used; used gains its folded form.
    std::string UniquePath(const std::string& category, const std::string& schema, const std::string& name,
                           std::set<std::string>& used) const;
    // Every path that Path gives for the category, schemas empty or not.
    std::regex Pattern(const std::string& category, bool withSchema) const;

private:
    enum class Kind { Text, Category, Schema, Name };
    struct Part {
        Kind kind;
        std::string text;
    };
    std::vector<Part> parts_;
};

// The name as a file name: %XX (hex of the byte) for / \ : * ? " < > | % ~ and control characters, and for
// the dots of a name that is "." or "..". '~' is escaped so that the suffix of names that differ only in
// letter case ("~2", "~3", ...) cannot be taken for part of a name.
std::string EscapeFileName(const std::string& name);

// The folder of a category's object files: its file name without ".sql".
std::string CategoryFolder(const std::string& file);

class ObjectFiles : public ExportOutput {
public:
    // files: the categories' file names; {category} stands for the name without ".sql".
    ObjectFiles(std::string dir, NameTemplate nameTemplate, const CategoryFileNames& files,
                ReplaceGate& gate);

    // Objects whose names differ only in letter case get "~2", "~3", ... after the name, in the order they
    // come.
    void Object(int category, const std::string& schema, const std::string& name,
                const std::string& text) override;

    // The files that an earlier export into the folder wrote for the categories' objects and that no object
    // of this run wrote are listed on stderr, or removed with prune; files no export wrote are never touched.
    // Then the folder's list is written anew; false when it could not be.
    bool Conclude(const std::vector<int>& categories, bool prune) override;

protected:
    // Each object's file is what the category's file would be if it held that object alone: its text between
    // the batches the category puts before and after its objects (SET options and the like), so that it runs
    // on its own.
    bool WriteCategory(int category, const std::string& text) override;
    std::string KeptWords(int category) const override;

private:
    struct Pending {
        std::string path;
        size_t length;
    };
    // Touched only by the worker that runs the category, and after the run.
    struct Category {
        std::vector<Pending> objects;
        std::string firstText;
        std::set<std::string> used; // case-folded paths given to objects
        std::vector<std::string> written;
    };

    int CategoryOf(const std::string& relative) const;

    const NameTemplate template_;
    std::array<std::string, SQL_CATEGORY_COUNT> folders_;
    std::vector<std::regex> patterns_;
    std::array<Category, SQL_CATEGORY_COUNT> categories_;
};
