// export --layout objects: a file per object, named by a template, and the files left from objects that
// are gone.
#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <vector>

constexpr const char* kDefaultNameTemplate = "{category}/{schema}.{name}.sql";

// A path relative to the output folder, with the placeholders {category}, {schema} and {name}.
class NameTemplate {
public:
    // Throws std::invalid_argument when {category} or {name} is missing or the path leaves the folder.
    explicit NameTemplate(const std::string& text);

    // An empty schema (a schema itself has none) drops {schema} with the '.' or '/' right after it.
    std::string Path(const std::string& category, const std::string& schema, const std::string& name) const;
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

class ObjectFiles {
public:
    // categoryFiles: the categories' file names; {category} stands for the name without ".sql".
    ObjectFiles(std::string dir, NameTemplate nameTemplate, const std::array<std::string, 13>& categoryFiles);

    // Writes one object's file; false when an existing file was kept, which ends the run. Objects whose
    // names differ only in letter case get "~2", "~3", ... after the name, in the order they come.
    bool WriteObject(int category, const std::string& schema, const std::string& name,
                     const std::string& text);
    // The text of a category that has no objects of its own, as its category file.
    bool WriteWhole(int category, const std::string& text);

    // An overwrite was refused: the run is to stop. Takes no lock, as the run asks it under its own.
    bool IsRefused() const { return refused_.load(); }
    // The file that a refused overwrite kept, relative to the folder; empty when none.
    std::string RefusedFile() const;
    // One line for each file that could not be written.
    std::vector<std::string> Failures() const;
    // Files named as the categories' objects are that no object of this run wrote: listed on stderr, and
    // removed with prune. Only after a run that wrote every object of those categories.
    void ReportStale(const std::vector<int>& categories, bool prune) const;

private:
    bool Write(const std::string& relative, const std::string& text);

    const std::string dir_;
    const NameTemplate template_;
    const std::array<std::string, 13> files_;
    std::array<std::string, 13> folders_;
    mutable std::mutex mutex_;
    std::array<std::set<std::string>, 13> used_; // case-folded paths given to objects, by category
    std::set<std::string> written_;              // case-folded paths of every file of this run
    bool replaceAll_ = false;
    std::atomic<bool> refused_{false};
    std::string refusedFile_;
    std::vector<std::string> failures_;
};
