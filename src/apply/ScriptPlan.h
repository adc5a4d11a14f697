// The scripts to apply, read through once before anything runs: every line is UTF-8 and every GO line one
// the client accepts, the batches are counted, the objects they create are known, and each file of rows is
// known by its table and by whether its batches may run on several connections at once.
#pragma once

#include "apply/BatchContent.h"
#include "apply/ScriptReader.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct TScriptFile {
    std::string strName; // as messages name it: its path in the folder, the file given, or "stdin"
    std::string strPath; // where it is read; empty for a script held in memory
    std::shared_ptr<const std::string> pText; // the script held in memory (standard input)
    bool bRows = false; // in the section of rows of a folder's manifest, which may load beside each other
    size_t nTextLength = std::string::npos; // of pText, what applies (a stream's closing line left out)
};

// A file of rows as its batches show it.
struct TRowsShape {
    TScriptName table; // the table its INSERTs fill; empty when they fill several, or there are none
    // Settings, INSERT batches into the table, settings: the INSERT batches may be spread over connections,
    // each of which runs the settings before and after its share.
    bool bSpreadable = false;
    std::vector<TScriptBatch> aBefore, aAfter; // the settings of a spreadable file
    long nRowBatches = 0;                      // its INSERT batches, between them
    bool bIdentityInsert = false;              // its settings name the table (SET IDENTITY_INSERT)
    // It holds statements other than INSERT and SET (a foreign key turned off and on): it runs alone, after
    // the files of rows before it and before those after it.
    bool bAlone = false;
};

// The words the first line of a migration that the diff job writes begins with, the program that ran it
// following. Its statements are guarded (IF EXISTS, DROP ... IF EXISTS) and make again what they drop: apply
// does not look for the objects it creates.
inline constexpr std::string_view kMigrationFirstWords = "-- Migration written by ";

struct TPlannedFile {
    TScriptFile file;
    long nBatches = 0; // each counted once, however often its GO repeats it
    TRowsShape rows;   // for a file of the rows' section
    // The batches that cannot run inside a transaction, by their place in the file (from 0), in order.
    std::vector<long> aOutsideTransaction;
};

struct TPlannedObject {
    TCreatedObject object;
    size_t nFile = 0;
    long nLine = 0;
};

// A batch that switches to or changes a database as a whole.
struct TPlannedDatabaseChange {
    std::string strStatement; // "USE", "CREATE DATABASE", ...
    size_t nFile = 0;
    long nLine = 0;
};

struct TApplyPlan {
    std::vector<TPlannedFile> aFiles;
    std::vector<TPlannedObject> aCreated; // in the order the scripts create them
    std::vector<TPlannedObject> aDropped; // in the order the scripts drop them
    std::vector<TPlannedDatabaseChange> aDatabaseChanges;
    // The scripts are one transaction of their own (a migration diff wrote): a batch only begins it, and no
    // batch after it ends one but the last, or the last before batches that cannot run inside a transaction;
    // before the one that begins it come only such batches. A refusal between the two leaves the database as
    // it was, once the transaction is rolled back.
    bool bOwnTransaction = false;
    // Where it is, by the batches' places over all files (from 0): the batch that begins it and the last
    // that runs inside it.
    long nTransactionBegins = 0, nTransactionEnds = 0;
};

// Whether a run that stopped at the batch nBatch (its place over all files, from 0) stopped inside the
// scripts' own transaction, which then rolled everything back that was not run outside it.
bool StoppedInOwnTransaction(const TApplyPlan& plan, long nBatch);

// Reads every file through. Throws CScriptException* naming the file, CFileException* for one that cannot be
// read.
TApplyPlan PlanApply(std::vector<TScriptFile> aFiles);

// A reader of the file from its start.
std::unique_ptr<CScriptReader> OpenScript(const TScriptFile& file);
