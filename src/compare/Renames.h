// Tables and columns that TO holds under another name than FROM: the comparison pairs FROM's object with TO's
// of the new name, so that it is one object, changed or not, and the migration renames it with sp_rename,
// rows kept. Without renames asked for, a dropped and an added object that look alike are pointed out.
#pragma once

#include "compare/ModelComparison.h"
#include "model/CatalogModel.h"
#include "recreate/Statements.h"

#include <string>
#include <vector>

// FROM's table or column and its name in TO. A column's table is named as FROM has it.
struct TRename {
    TModelKey from; // {Table, schema, "", name} or {Column, schema, table, name}
    std::string strNew;
};

class CRenames {
public:
    CRenames() = default;
    explicit CRenames(std::vector<TRename> aRenames);

    bool IsEmpty() const { return m_aRenames.empty(); }
    // Columns first: each names its table as FROM has it, before the table takes its new name.
    const std::vector<TRename>& Items() const { return m_aRenames; }
    // FROM's key under TO's names: a renamed table's, its parts' and its triggers', a renamed column's (and
    // its default's, which is known by its column).
    TModelKey AsInTo(TModelKey key) const;
    // The rename as T-SQL: sp_rename with the old name as a multi-part name.
    static TStatement Statement(const TRename& rename);

private:
    std::vector<TRename> m_aRenames;
};

// Why a request cannot be followed: its object is not in FROM, its new name not in TO, or FROM has that name
// already.
enum class eRenameProblem { None, NotInFrom, NotInTo, TakenInFrom };

struct TRenameCheck {
    eRenameProblem eProblem = eRenameProblem::None;
    size_t nRequest = 0; // the request at fault
    TModelKey object;    // what is missing or taken
    std::string strName; // as lines name it
    CRenames renames;    // with no problem: what the requests ask
};

// The renames asked for (a table named without a schema is dbo's), checked against both models.
TRenameCheck CheckRenames(std::vector<TRename> aRequests, const TCatalogModel& from, const TCatalogModel& to);

// "? dbo.T.A -> dbo.T.B looks like a rename: --rename column dbo.T.A=B" for each column only FROM has whose
// table in TO has an added column of the same type at the same position, and "? dbo.A -> dbo.B looks like a
// rename: --rename table dbo.A=B" for each table only FROM has and one only TO has, of the same schema, with
// the same columns; each ending in a line feed.
std::string RenameHints(const std::vector<const TModelDifference*>& aDifferences);
