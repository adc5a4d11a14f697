// Loading the catalog model: one statement per family for the whole database, whatever its size.
#pragma once

#include "backend/Database.h"
#include "model/CatalogModel.h"
#include "model/FamilyRows.h"

#include <functional>
#include <string>

// Told after each family's statement has been answered: its name, how many are done, of how many.
using ModelLoadProgress = std::function<void(const std::string& strFamily, size_t nDone, size_t nTotal)>;

// Reads the model of the database the connection is open on. nConnections > 1 reads the families on that
// many connections at once (the extra ones opened with db's connect string; where one cannot be opened, the
// others read its families). Throws CModelLoadError naming the family whose statement failed.
TCatalogModel LoadCatalogModel(CDatabase& db, int nConnections = 1, const ModelLoadProgress& progress = {});
