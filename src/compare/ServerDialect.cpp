#include "compare/ServerDialect.h"

#include "backend/DbBackend.h"

#include <cstdio>

namespace {

const char* const kQuestion =
    "SELECT CAST(SERVERPROPERTY('ProductVersion') AS nvarchar(128)) AS product_version, "
    "CAST(@@VERSION AS nvarchar(4000)) AS server_version";

} // namespace

std::optional<TServerDialect> AskServerDialect(CDatabase& db) {
    std::optional<TDbRowText> row;
    try {
        const std::unique_ptr<CDbResult> pResult = db.GetBackend()->Execute(kQuestion, true);
        if (const std::optional<TDbRow> fetched = pResult->Fetch(); fetched && fetched->size() == 2)
            row = TDbRowText{std::string(*(*fetched)[0]), std::string(*(*fetched)[1])};
    } catch (CException* e) {
        e->Delete();
    }
    if (!row)
        return std::nullopt;
    int nMajor = 0, nMinor = 0, nBuild = 0;
    std::sscanf(row->at(0).value_or("").c_str(), "%d.%d.%d", &nMajor, &nMinor, &nBuild);
    TServerDialect dialect;
    // CREATE OR ALTER came with SQL Server 2016's first service pack.
    dialect.bCreateOrAlter = nMajor > 13 || (nMajor == 13 && nBuild >= 4001);
    // A server that speaks T-SQL over another engine, which neither takes CREATE OR ALTER nor NULL, NOT NULL
    // or COLLATE in ALTER COLUMN.
    if (row->at(1).value_or("").find("Babelfish") != std::string::npos)
        dialect = TServerDialect{false, false};
    return dialect;
}
