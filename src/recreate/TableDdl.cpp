// Tables, table types and what belongs to a table: keys, checks, defaults, indexes and foreign keys.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <strings.h>

namespace {

constexpr std::string_view kIndent = "    ";

const std::string& ColumnName(const TModelTable& table, int nColumnId) {
    static const std::string strUnknown;
    const TModelColumn* pColumn = table.FindColumn(nColumnId);
    return pColumn ? pColumn->strName : strUnknown;
}

std::string ColumnList(const TModelTable& table, const std::vector<int>& aColumnIds) {
    std::string str;
    for (const int nColumnId : aColumnIds)
        str += (str.empty() ? "" : ", ") + QuoteName(ColumnName(table, nColumnId));
    return str;
}

std::string KeyList(const TModelTable& table, const std::vector<TModelIndexColumn>& aKeys) {
    std::string str;
    for (const TModelIndexColumn& key : aKeys)
        str += (str.empty() ? "" : ", ") + QuoteName(ColumnName(table, key.nColumnId)) +
               (key.bDescending ? " DESC" : " ASC");
    return str;
}

// The options that differ from CREATE INDEX's defaults, in the order the statement documents them. A table
// type's keys take IGNORE_DUP_KEY alone.
std::string IndexOptions(const TModelIndex& index, bool bTableType) {
    std::vector<std::string> aOptions;
    if (index.bPadded && !bTableType)
        aOptions.emplace_back("PAD_INDEX = ON");
    if (index.nFillFactor != 0 && !bTableType)
        aOptions.push_back("FILLFACTOR = " + std::to_string(index.nFillFactor));
    if (index.bIgnoreDupKey)
        aOptions.emplace_back("IGNORE_DUP_KEY = ON");
    if (!index.bAllowRowLocks && !bTableType)
        aOptions.emplace_back("ALLOW_ROW_LOCKS = OFF");
    if (!index.bAllowPageLocks && !bTableType)
        aOptions.emplace_back("ALLOW_PAGE_LOCKS = OFF");
    if (!index.strCompression.empty() && index.strCompression != "NONE" && !bTableType)
        aOptions.push_back("DATA_COMPRESSION = " + index.strCompression);
    std::string str;
    for (const std::string& strOption : aOptions)
        str += (str.empty() ? " WITH (" : ", ") + strOption;
    return str.empty() ? str : str + ")";
}

// " ON [data space]" (with the partition columns of a partition scheme) unless it is strDefault.
std::string DataSpaceClause(const TModelTable& table, const std::string& strDataSpace,
                            const std::vector<int>& aPartitionColumns, const std::string& strDefault) {
    if (strDataSpace.empty() || (strDataSpace == strDefault && aPartitionColumns.empty()))
        return std::string();
    std::string str = " ON " + QuoteName(strDataSpace);
    if (!aPartitionColumns.empty())
        str += "(" + ColumnList(table, aPartitionColumns) + ")";
    return str;
}

const TModelIndex* ClusteredIndex(const TModelTable& table) {
    for (const TModelIndex& index : table.aIndexes)
        if (index.bClustered)
            return &index;
    return nullptr;
}

std::string TableDataSpace(const TModelTable& table, const TCatalogModel& model) {
    const TModelIndex* pClustered = ClusteredIndex(table);
    return DataSpaceClause(table, table.strDataSpace,
                           pClustered ? pClustered->aPartitionColumns : table.aPartitionColumns,
                           model.strDefaultDataSpace);
}

std::string KeyConstraint(const TModelTable& table, const TModelIndex& index) {
    const bool bTableType = table.nTableTypeId != 0;
    std::string str = bTableType ? std::string() : "CONSTRAINT " + QuoteName(index.strName) + " ";
    str += index.eKind == EModelIndexKind::PrimaryKey ? "PRIMARY KEY" : "UNIQUE";
    str += index.bClustered ? " CLUSTERED (" : " NONCLUSTERED (";
    str += KeyList(table, index.aKeys) + ")" + IndexOptions(index, bTableType);
    if (!bTableType && !index.bClustered)
        str += DataSpaceClause(table, index.strDataSpace, index.aPartitionColumns, table.strDataSpace);
    return str;
}

std::string CheckClause(const TModelCheck& check) {
    return std::string(check.bNotForReplication ? "CHECK NOT FOR REPLICATION " : "CHECK ") +
           Parenthesized(check.strDefinition);
}

std::string ColumnType(const TModelColumn& column, const TCatalogModel& model) {
    std::string str = DataTypeText(column.type);
    if (!column.strCollation.empty() &&
        strcasecmp(column.strCollation.c_str(), model.strCollation.c_str()) != 0)
        str += " COLLATE " + column.strCollation;
    if (column.bSparse)
        str += " SPARSE";
    if (column.bColumnSet)
        return str + " COLUMN_SET FOR ALL_SPARSE_COLUMNS";
    if (column.identity)
        str += " IDENTITY(" + column.identity->strSeed + ", " + column.identity->strIncrement + ")" +
               (column.identity->bNotForReplication ? " NOT FOR REPLICATION" : "");
    if (column.bRowGuidCol)
        str += " ROWGUIDCOL";
    return str + (column.bNullable ? " NULL" : " NOT NULL");
}

std::string ColumnDefinition(const TModelTable& table, const TModelColumn& column, const TCatalogModel& model,
                             const TModelDefault* pDefault) {
    std::string str = QuoteName(column.strName) + " ";
    if (column.computed) {
        str += "AS " + Parenthesized(column.computed->strDefinition);
        if (column.computed->bPersisted)
            str += column.bNullable ? " PERSISTED" : " PERSISTED NOT NULL";
        return str;
    }
    str += ColumnType(column, model);
    if (pDefault && table.nTableTypeId)
        str += " DEFAULT " + pDefault->strDefinition;
    else if (pDefault)
        str += " CONSTRAINT " + QuoteName(pDefault->strName) + " DEFAULT " + pDefault->strDefinition;
    return str;
}

// The lines between the parentheses of CREATE TABLE or CREATE TYPE ... AS TABLE; a table type, which no
// ALTER can change, holds its checks and indexes too.
std::vector<std::string> TableElements(const TModelTable& table, const TCatalogModel& model,
                                       const std::unordered_set<int>& setSeparate) {
    std::vector<std::string> aLines;
    for (const TModelColumn& column : table.aColumns) {
        const TModelDefault* pDefault = nullptr;
        for (const TModelDefault& def : table.aDefaults)
            if (def.nColumnId == column.nColumnId && !setSeparate.count(def.nObjectId) &&
                IsScriptedDefault(table, def))
                pDefault = &def;
        aLines.push_back(ColumnDefinition(table, column, model, pDefault));
    }
    for (const TModelIndex& index : table.aIndexes)
        if (index.eKind != EModelIndexKind::Index)
            aLines.push_back(KeyConstraint(table, index));
    if (!table.nTableTypeId)
        return aLines;
    for (const TModelCheck& check : table.aChecks)
        aLines.push_back(CheckClause(check));
    for (const TModelIndex& index : table.aIndexes)
        if (index.eKind == EModelIndexKind::Index)
            aLines.push_back("INDEX " + QuoteName(index.strName) + (index.bUnique ? " UNIQUE" : "") +
                             (index.bClustered ? " CLUSTERED (" : " NONCLUSTERED (") +
                             KeyList(table, index.aKeys) + ")");
    return aLines;
}

std::string ElementBlock(const std::vector<std::string>& aLines) {
    std::string str = " (" + kLineEnd;
    for (size_t i = 0; i < aLines.size(); ++i)
        str += std::string(kIndent) + aLines[i] + (i + 1 < aLines.size() ? "," : "") + kLineEnd;
    return str + ")";
}

std::string AlterTable(const TModelTable& table) {
    return "ALTER TABLE " + QuoteName(table.strSchema, table.strName);
}

// ALTER TABLE ... NOCHECK CONSTRAINT: the constraint stays but is not enforced.
std::string DisableConstraint(const TModelTable& table, const std::string& strName) {
    return AlterTable(table) + " NOCHECK CONSTRAINT " + QuoteName(strName) + ";" + kLineEnd;
}

std::string ReferentialAction(const char* pszEvent, EModelReferentialAction eAction) {
    switch (eAction) {
    case EModelReferentialAction::Cascade:
        return std::string(pszEvent) + " CASCADE";
    case EModelReferentialAction::SetNull:
        return std::string(pszEvent) + " SET NULL";
    case EModelReferentialAction::SetDefault:
        return std::string(pszEvent) + " SET DEFAULT";
    case EModelReferentialAction::NoAction:
        break;
    }
    return std::string();
}

} // namespace

std::string ScriptTable(const TModelTable& table, const TCatalogModel& model,
                        const std::unordered_set<int>& setSeparate) {
    return "CREATE TABLE " + QuoteName(table.strSchema, table.strName) +
           ElementBlock(TableElements(table, model, setSeparate)) + TableDataSpace(table, model) + ";" +
           kLineEnd + kGo;
}

std::string ScriptTableType(const TModelType& type, const TModelTable& table, const TCatalogModel& model) {
    return "CREATE TYPE " + QuoteName(type.strSchema, type.strName) + " AS TABLE" +
           ElementBlock(TableElements(table, model, {})) + ";" + kLineEnd + kGo;
}

std::string ScriptCheck(const TModelTable& table, const TModelCheck& check) {
    std::string str = AlterTable(table) + (check.bNotTrusted ? " WITH NOCHECK" : "") + " ADD CONSTRAINT " +
                      QuoteName(check.strName) + " " + CheckClause(check) + ";" + kLineEnd;
    if (check.bDisabled)
        str += DisableConstraint(table, check.strName);
    return str + kGo;
}

std::string ScriptDefault(const TModelTable& table, const TModelDefault& def) {
    return AlterTable(table) + " ADD CONSTRAINT " + QuoteName(def.strName) + " DEFAULT " + def.strDefinition +
           " FOR " + QuoteName(ColumnName(table, def.nColumnId)) + ";" + kLineEnd + kGo;
}

std::string ScriptIndex(const TModelTable& table, const TModelIndex& index, const TCatalogModel& model) {
    std::string str = std::string("CREATE ") + (index.bUnique ? "UNIQUE " : "") +
                      (index.bClustered ? "CLUSTERED" : "NONCLUSTERED") + " INDEX " +
                      QuoteName(index.strName) + " ON " + QuoteName(table.strSchema, table.strName) + " (" +
                      KeyList(table, index.aKeys) + ")";
    if (!index.aIncluded.empty())
        str += " INCLUDE (" + ColumnList(table, index.aIncluded) + ")";
    if (!index.strFilter.empty())
        str += " WHERE " + Parenthesized(index.strFilter);
    str += IndexOptions(index, false) +
           DataSpaceClause(table, index.strDataSpace, index.aPartitionColumns, model.strDefaultDataSpace) +
           ";" + kLineEnd;
    if (index.bDisabled)
        str += "ALTER INDEX " + QuoteName(index.strName) + " ON " +
               QuoteName(table.strSchema, table.strName) + " DISABLE;" + kLineEnd;
    return str + kGo;
}

std::string ScriptForeignKey(const TModelTable& table, const TModelForeignKey& key,
                             const TCatalogModel& model) {
    const TModelTable* pReferenced = model.FindTable(key.nReferencedObjectId);
    std::string strColumns, strReferencedColumns;
    for (const auto& [nColumnId, nReferencedColumnId] : key.aColumns) {
        strColumns += (strColumns.empty() ? "" : ", ") + QuoteName(ColumnName(table, nColumnId));
        strReferencedColumns += (strReferencedColumns.empty() ? "" : ", ") +
                                QuoteName(pReferenced ? ColumnName(*pReferenced, nReferencedColumnId) : "");
    }
    std::string str = AlterTable(table) + (key.bNotTrusted ? " WITH NOCHECK" : "") + " ADD CONSTRAINT " +
                      QuoteName(key.strName) + " FOREIGN KEY (" + strColumns + ") REFERENCES " +
                      (pReferenced ? QuoteName(pReferenced->strSchema, pReferenced->strName) : "") + " (" +
                      strReferencedColumns + ")";
    for (const std::string& strAction :
         {ReferentialAction(" ON DELETE", key.eOnDelete), ReferentialAction(" ON UPDATE", key.eOnUpdate)})
        str += strAction;
    if (key.bNotForReplication)
        str += " NOT FOR REPLICATION";
    str += ";" + kLineEnd;
    if (key.bDisabled)
        str += DisableConstraint(table, key.strName);
    return str + kGo;
}
