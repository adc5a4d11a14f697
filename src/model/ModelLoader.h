// Loading the catalog model: one statement per family for the whole database, whatever its size.
#pragma once

// Relative paths: the library installs this header for programs.
#include "../backend/Database.h"
#include "CatalogModel.h"
#include "ModelError.h"

#include <functional>
#include <string>
#include <vector>

// Told after each family's statement has been answered: its name, how many are done, of how many. It may
// throw to stop the load: the exception leaves LoadCatalogModel once the statements under way are answered.
using ModelLoadProgress = std::function<void(const std::string& strFamily, size_t nDone, size_t nTotal)>;

// One statement of the load: the family it reads, its text, the columns the loader reads from its answer.
struct TModelStatement {
    const char* pszFamily;
    std::string strSql;
    std::vector<const char*> aColumns;
};

// The statements LoadCatalogModel sends to a server with these features, in the order it sends them.
std::vector<const TModelStatement*> ModelStatements(const TModelFeatures& features);

// What the load reads: every family, or only what the rows of the tables need (the tables with their columns
// and types, the indexes that order their rows, the foreign keys that order the tables), which leaves out the
// families a server takes long over for nothing then (modules, triggers, sequences, properties, ...).
enum EModelScope { eModelWhole, eModelTablesForRows };

// Reads the model of the database the connection is open on. nConnections > 1 reads the families on that
// many connections at once (the extra ones opened with db's connect string; where one cannot be opened, the
// others read its families). Throws CModelError naming the family whose statement failed.
// A catalog snapshot recorded by an earlier sqlscripts may lack the statements of families added since: each
// such family reads as empty, and the model's aUnrecordedFamilies names it. The database, schemas, types,
// objects and columns are read from every snapshot of a model; one that lacks them holds none, and the load
// fails on the first. A server's refusal, or a snapshot's recorded error, fails the load whatever the family.
TCatalogModel LoadCatalogModel(CDatabase& db, int nConnections = 1, const ModelLoadProgress& progress = {},
                               EModelScope eScope = eModelWhole);
