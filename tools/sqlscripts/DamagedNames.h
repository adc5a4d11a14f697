// Names that the connection could not carry (NameDamage.h): the module looks such an object up under a name
// it does not have, and the model's scripts would create it under that name.
#pragma once

#include "NameDamage.h"

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TCatalogModel;

// One warning naming the model's objects and columns whose names may have lost characters (a server that
// could not say them even as nvarchar, or a connection without UTF-8); empty when every name came whole.
std::string DamagedModelNames(const TCatalogModel& model, const std::string& connect);

class DamagedNames {
public:
    // Keeps the object when its schema or name holds such a character. Called from the run's workers.
    void Note(int category, const char* schema, const char* name, const std::string& text);
    // One warning naming those objects and the likely cause; empty when every name came whole. A '?' may
    // belong to a name: names are taken for damaged only once the run has found nothing under one of them.
    std::string Warning(const std::string& connect) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<int, std::string>> objects_; // category, "schema.name"
    bool foundNothing_ = false;
};
