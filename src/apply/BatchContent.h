// What a batch does, as far as applying a script needs to know before it runs: the objects it creates and
// drops (so that a database that has them already is found first), whether it switches to or changes a
// database (which a scratch apply refuses), whether it only inserts a table's rows or only
// changes the session's settings (so that the rows of a table can be spread over several connections), and
// whether it begins, ends or cannot run inside a transaction. Read
// from its words outside parentheses, comments and strings; never a full parse.
#pragma once

#include "model/CatalogModel.h"

#include <string>
#include <string_view>
#include <vector>

// A name as the script writes it, without brackets or quotes; an empty schema is the user's default one.
struct TScriptName {
    std::string strSchema;
    std::string strName;

    bool IsEmpty() const { return strName.empty(); }
    bool operator==(const TScriptName&) const = default;
};

struct TCreatedObject {
    eModelKind eKind; // as the kinds table tells what CREATE makes
    TScriptName name; // a schema's name is in strName
};

enum class EBatchKind {
    Rows,     // INSERT statements into one table, nothing else
    Settings, // SET statements only
    Other
};

struct TBatchContent {
    EBatchKind eKind = EBatchKind::Other;
    TScriptName table; // Rows: the table; Settings: the table that SET IDENTITY_INSERT names, if any
    std::vector<TCreatedObject> aCreated;
    // DROP statements of the kinds CREATE makes, outside the body of a module the batch creates.
    std::vector<TCreatedObject> aDropped;
    // The first statement that leaves the database or changes one as a whole ("USE", "CREATE DATABASE",
    // "ALTER DATABASE", "DROP DATABASE"); empty for none.
    std::string strDatabaseChange;
    bool bBeginsTransaction = false; // it only sets options and begins a transaction
    bool bEndsTransaction = false;   // it commits or rolls back, outside the body of a module it creates
    // It creates, alters or drops a full-text catalog or index, which SQL Server refuses inside a user
    // transaction; outside the body of a module it creates.
    bool bOutsideTransaction = false;
};

TBatchContent DescribeBatch(std::string_view strBatch);
