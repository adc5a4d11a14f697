// Whether the database a migration runs on is still the FROM it was written for: a hash of each object it
// touches, computed by the server over what the comparison read of it (a module's definition, a table's or
// table type's columns and their types, an alias type's base type), read from FROM when the diff is made
// and checked by the script before it changes anything.
#pragma once

#include "backend/DbBackend.h"
#include "model/ModelKey.h"
#include "recreate/Statements.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// FROM's hashes by object, in hexadecimal as the server gives them.
using TObjectHashes = std::unordered_map<std::string, std::string>;

// Whether objects of the kind have a hash: tables, modules, alias and table types.
bool IsHashed(eModelKind eKind);
// The key an object's hash is found by: kinds that share a name space share keys.
std::string HashKey(const TModelKey& key);

// The statement that reads every hash of the database.
const std::string& ObjectHashesStatement();
// The hashes of the database; none from a catalog snapshot recorded without them. Throws CModelError when
// the server refuses the statement.
std::optional<TObjectHashes> ReadObjectHashes(CDbConnection& db);

// One object the script checks: its kind, schema and name, and the hash FROM had (none: FROM had no such
// object, nor may the target).
struct TDriftObject {
    TModelKey key;
    std::optional<std::string> hash;
};

// The statement that stops the script, naming each object whose hash is not the one expected.
TStatement DriftCheck(const std::vector<TDriftObject>& aObjects);
