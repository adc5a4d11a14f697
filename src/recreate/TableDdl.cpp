// Tables, table types and what belongs to a table: keys, checks, defaults, indexes and foreign keys.
#include "platform/Text.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/KindProperties.h"

#include <strings.h>

namespace {

constexpr std::string_view kIndent = "    ";

std::string ColumnList(const std::vector<std::string>& aColumns) {
    std::vector<std::string> aQuoted;
    for (const std::string& strColumn : aColumns)
        aQuoted.push_back(QuoteName(strColumn));
    return JoinText(aQuoted);
}

// A hash index's keys have no order.
std::string KeyList(const TModelIndex& index) {
    std::vector<std::string> aQuoted;
    for (const TModelIndexColumn& key : index.aKeys)
        aQuoted.push_back(QuoteName(key.strColumn) + (index.bHash ? "" : key.bDescending ? " DESC" : " ASC"));
    return JoinText(aQuoted);
}

// CLUSTERED or NONCLUSTERED [HASH] (keys), and a hash index's bucket count.
std::string IndexShape(const TModelIndex& index) {
    std::string str = index.bClustered ? "CLUSTERED" : index.bHash ? "NONCLUSTERED HASH" : "NONCLUSTERED";
    str += " (" + KeyList(index) + ")";
    if (index.bHash && index.nBucketCount > 0)
        str += " WITH (BUCKET_COUNT = " + std::to_string(index.nBucketCount) + ")";
    return str;
}

// The options that differ from CREATE INDEX's defaults, in the order the statement documents them. A table
// type's keys take IGNORE_DUP_KEY alone; a memory-optimized table's indexes take none.
std::vector<std::string> IndexOptionList(const TModelIndex& index, bool bTableType) {
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
    return aOptions;
}

std::string WithOptions(const std::vector<std::string>& aOptions) {
    return aOptions.empty() ? std::string() : " WITH (" + JoinText(aOptions) + ")";
}

std::string IndexOptions(const TModelIndex& index, bool bTableType) {
    return index.bHash ? std::string() : WithOptions(IndexOptionList(index, bTableType));
}

// " ON [data space]" (with the partition columns of a partition scheme) unless it is strDefault.
std::string DataSpaceClause(const std::string& strDataSpace,
                            const std::vector<std::string>& aPartitionColumns,
                            const std::string& strDefault) {
    if (strDataSpace.empty() || (strDataSpace == strDefault && aPartitionColumns.empty()))
        return std::string();
    std::string str = " ON " + QuoteName(strDataSpace);
    if (!aPartitionColumns.empty())
        str += "(" + ColumnList(aPartitionColumns) + ")";
    return str;
}

const TModelIndex* ClusteredIndex(const TModelTable& table) {
    for (const TModelIndex& index : table.aIndexes)
        if (index.bClustered)
            return &index;
    return nullptr;
}

// INDEX [name] [UNIQUE] ...: an index written inside its table's or table type's definition.
std::string InlineIndex(const TModelIndex& index) {
    return "INDEX " + QuoteName(index.strName) + (index.bUnique ? " UNIQUE " : " ") + IndexShape(index);
}

// AS NODE or AS EDGE, where the rows live, large values and FILESTREAM data, and a memory-optimized
// table's options: what follows the parentheses of CREATE TABLE.
std::string TableTail(const TModelTable& table, const TCatalogModel& model) {
    std::string str = table.eGraph == eModelGraph::Node   ? " AS NODE"
                      : table.eGraph == eModelGraph::Edge ? " AS EDGE"
                                                          : "";
    const TModelIndex* pClustered = ClusteredIndex(table);
    const std::vector<std::string>& aPartitionColumns =
        pClustered ? pClustered->aPartitionColumns : table.aPartitionColumns;
    str += DataSpaceClause(table.strDataSpace, aPartitionColumns, model.strDefaultDataSpace);
    // Large values go into the default filegroup without it; a partitioned table's follow its scheme.
    if (!table.strLobDataSpace.empty() && table.strLobDataSpace != model.strDefaultDataSpace &&
        aPartitionColumns.empty())
        str += " TEXTIMAGE_ON " + QuoteName(table.strLobDataSpace);
    if (!table.strFilestreamDataSpace.empty())
        str += " FILESTREAM_ON " + QuoteName(table.strFilestreamDataSpace);
    if (table.bMemoryOptimized)
        str += std::string(" WITH (MEMORY_OPTIMIZED = ON, DURABILITY = ") +
               (table.bSchemaOnly ? "SCHEMA_ONLY)" : "SCHEMA_AND_DATA)");
    return str;
}

// The lines between the parentheses of CREATE TABLE or CREATE TYPE ... AS TABLE: columns with the defaults
// written inline, keys, the period; and for a table type, which no ALTER can change, its checks and indexes
// too, as for a memory-optimized table, whose indexes are its own.
std::vector<std::string> TableElements(const TModelTable& table, const TCatalogModel& model, bool bTableType,
                                       const std::unordered_set<const TModelDefault*>& setInline) {
    std::vector<std::string> aLines;
    for (const TModelColumn& column : table.aColumns) {
        const TModelDefault* pDefault = nullptr;
        for (const TModelDefault& def : table.aDefaults)
            if (def.strColumn == column.strName && (bTableType || setInline.count(&def)) &&
                IsScriptedDefault(table, def))
                pDefault = &def;
        aLines.push_back(ColumnDefinition(column, model, pDefault, bTableType));
    }
    for (const TModelIndex& index : table.aIndexes)
        if (index.eKind != eModelIndexKind::Index)
            aLines.push_back(KeyConstraint(table, index, bTableType));
    if (table.period && !bTableType)
        aLines.push_back("PERIOD FOR SYSTEM_TIME (" + QuoteName(table.period->strStart) + ", " +
                         QuoteName(table.period->strEnd) + ")");
    if (bTableType)
        for (const TModelCheck& check : table.aChecks)
            aLines.push_back(CheckClause(check));
    if (bTableType || table.bMemoryOptimized)
        for (const TModelIndex& index : table.aIndexes)
            if (index.eKind == eModelIndexKind::Index)
                aLines.push_back(InlineIndex(index));
    return aLines;
}

// An edge table of no columns of its own has no parentheses.
std::string ElementBlock(const std::vector<std::string>& aLines) {
    if (aLines.empty())
        return std::string();
    std::string str = " (" + LineEnd();
    for (size_t i = 0; i < aLines.size(); ++i)
        str += std::string(kIndent) + aLines[i] + (i + 1 < aLines.size() ? "," : "") + LineEnd();
    return str + ")";
}

// " ON DELETE CASCADE", nothing for NO ACTION.
std::string ReferentialAction(const char* pszEvent, eModelReferentialAction eAction) {
    if (eAction == eModelReferentialAction::NoAction)
        return std::string();
    return std::string(pszEvent) + " " + ReferentialAction(eAction);
}

template <typename T> const TTablePart<T>& Part(TDdlObject object) {
    return std::get<TTablePart<T>>(object.object);
}

} // namespace

std::string MaskClause(const TModelColumn& column) {
    if (column.strMaskingFunction.empty())
        return std::string();
    return " MASKED WITH (FUNCTION = " + SqlLiteral(column.strMaskingFunction) + ")";
}

std::string AlterTable(const TModelTable& table) {
    return "ALTER TABLE " + QuoteName(table.strSchema, table.strName);
}

std::string ColumnType(const TModelColumn& column, const TCatalogModel& model) {
    std::string str = DataTypeText(column.type);
    if (column.bFilestream)
        str += " FILESTREAM";
    if (!column.strCollation.empty() &&
        strcasecmp(column.strCollation.c_str(), model.strCollation.c_str()) != 0)
        str += " COLLATE " + column.strCollation;
    if (column.bSparse)
        str += " SPARSE";
    if (column.bColumnSet)
        return str + " COLUMN_SET FOR ALL_SPARSE_COLUMNS";
    str += MaskClause(column);
    if (column.identity)
        str += " IDENTITY(" + column.identity->strSeed + ", " + column.identity->strIncrement + ")" +
               (column.identity->bNotForReplication ? " NOT FOR REPLICATION" : "");
    if (column.bRowGuidCol)
        str += " ROWGUIDCOL";
    if (column.eGenerated != eModelGenerated::None)
        str += column.eGenerated == eModelGenerated::RowStart ? " GENERATED ALWAYS AS ROW START"
                                                              : " GENERATED ALWAYS AS ROW END";
    if (column.bHidden)
        str += " HIDDEN";
    return str + (column.bNullable ? " NULL" : " NOT NULL");
}

std::string ColumnDefinition(const TModelColumn& column, const TCatalogModel& model,
                             const TModelDefault* pDefault, bool bTableType) {
    std::string str = QuoteName(column.strName) + " ";
    if (column.computed) {
        str += "AS " + Parenthesized(column.computed->strDefinition);
        if (column.computed->bPersisted)
            str += column.bNullable ? " PERSISTED" : " PERSISTED NOT NULL";
        return str;
    }
    str += ColumnType(column, model);
    if (pDefault && bTableType)
        str += " DEFAULT " + pDefault->strDefinition;
    else if (pDefault)
        str += " CONSTRAINT " + QuoteName(pDefault->strName) + " DEFAULT " + pDefault->strDefinition;
    return str;
}

std::string KeyConstraint(const TModelTable& table, const TModelIndex& index, bool bTableType) {
    std::string str = bTableType ? std::string() : "CONSTRAINT " + QuoteName(index.strName) + " ";
    str += index.eKind == eModelIndexKind::PrimaryKey ? "PRIMARY KEY " : "UNIQUE ";
    str += IndexShape(index) + IndexOptions(index, bTableType || table.bMemoryOptimized);
    if (!bTableType && !index.bClustered)
        str += DataSpaceClause(index.strDataSpace, index.aPartitionColumns, table.strDataSpace);
    return str;
}

std::string CheckClause(const TModelCheck& check) {
    return std::string(check.bNotForReplication ? "CHECK NOT FOR REPLICATION " : "CHECK ") +
           Parenthesized(check.strDefinition);
}

TStatement DisableConstraint(const TModelTable& table, const std::string& strName) {
    return {AlterTable(table) + " NOCHECK CONSTRAINT " + QuoteName(strName) + ";"};
}

TStatement EnableConstraint(const TModelTable& table, const std::string& strName, bool bCheckRows) {
    return {AlterTable(table) + (bCheckRows ? " WITH CHECK" : "") + " CHECK CONSTRAINT " +
            QuoteName(strName) + ";"};
}

TStatements CreateTable(TDdlObject object, const TDdlContext& context) {
    const TModelTable& table = *std::get<const TModelTable*>(object.object);
    return {{"CREATE TABLE " + QuoteName(table.strSchema, table.strName) +
             ElementBlock(TableElements(table, context.model, false, context.plan.setInlineDefaults)) +
             TableTail(table, context.model) + ";"}};
}

TStatements AddColumn(TDdlObject object, const TDdlContext& context) {
    const auto& [pTable, pColumn] = Part<TModelColumn>(object);
    const TModelDefault* pDefault = nullptr;
    for (const TModelDefault& def : pTable->aDefaults)
        if (def.strColumn == pColumn->strName && context.plan.setInlineDefaults.count(&def))
            pDefault = &def;
    return {
        {AlterTable(*pTable) + " ADD " + ColumnDefinition(*pColumn, context.model, pDefault, false) + ";"}};
}

TStatements AddKey(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pIndex] = Part<TModelIndex>(object);
    return {{AlterTable(*pTable) + " ADD " + KeyConstraint(*pTable, *pIndex, false) + ";"}};
}

TStatement ColumnsTableStatement(const TModelTable& table, const std::string& strName,
                                 const TCatalogModel& model) {
    std::vector<std::string> aLines;
    for (const TModelColumn& column : table.aColumns)
        aLines.push_back(ColumnDefinition(column, model, nullptr, false));
    return {"CREATE TABLE " + QuoteName(table.strSchema, strName) + ElementBlock(aLines) +
            TableTail(table, model) + ";"};
}

TStatement TableTypeStatement(const TModelType& type, const TCatalogModel& model) {
    return {"CREATE TYPE " + QuoteName(type.strSchema, type.strName) + " AS TABLE" +
            ElementBlock(TableElements(*type.table, model, true, {})) +
            (type.table->bMemoryOptimized ? " WITH (MEMORY_OPTIMIZED = ON);" : ";")};
}

TStatements CreateTableType(TDdlObject object, const TDdlContext& context) {
    return {TableTypeStatement(*std::get<const TModelType*>(object.object), context.model)};
}

TStatements CreateCheck(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pCheck] = Part<TModelCheck>(object);
    TStatements aStatements{{AlterTable(*pTable) + (pCheck->bNotTrusted ? " WITH NOCHECK" : "") +
                             " ADD CONSTRAINT " + QuoteName(pCheck->strName) + " " + CheckClause(*pCheck) +
                             ";"}};
    if (pCheck->bDisabled)
        aStatements.push_back(DisableConstraint(*pTable, pCheck->strName));
    return aStatements;
}

TStatements CreateDefault(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pDefault] = Part<TModelDefault>(object);
    return {{AlterTable(*pTable) + " ADD CONSTRAINT " + QuoteName(pDefault->strName) + " DEFAULT " +
             pDefault->strDefinition + " FOR " + QuoteName(pDefault->strColumn) + ";"}};
}

namespace {

// Partition numbers as ON PARTITIONS lists them, consecutive ones as a range: "1 TO 3, 5".
std::string PartitionRanges(const std::vector<int>& aPartitions) {
    std::vector<std::string> aRanges;
    for (size_t i = 0; i < aPartitions.size();) {
        size_t nLast = i;
        while (nLast + 1 < aPartitions.size() && aPartitions[nLast + 1] == aPartitions[nLast] + 1)
            ++nLast;
        aRanges.push_back(std::to_string(aPartitions[i]) +
                          (nLast > i ? " TO " + std::to_string(aPartitions[nLast]) : std::string()));
        i = nLast + 1;
    }
    return JoinText(aRanges);
}

// COLUMNSTORE compression is the default: only archive compression is written, for the partitions that
// have it where only some do.
std::vector<std::string> ColumnstoreOptions(const TModelIndex& index) {
    std::vector<std::string> aOptions;
    if (index.nCompressionDelay > 0)
        aOptions.push_back("COMPRESSION_DELAY = " + std::to_string(index.nCompressionDelay));
    if (!index.aArchivePartitions.empty())
        aOptions.push_back("DATA_COMPRESSION = COLUMNSTORE_ARCHIVE ON PARTITIONS (" +
                           PartitionRanges(index.aArchivePartitions) + ")");
    else if (index.strCompression == "COLUMNSTORE_ARCHIVE")
        aOptions.emplace_back("DATA_COMPRESSION = COLUMNSTORE_ARCHIVE");
    return aOptions;
}

// A clustered columnstore index names no columns: it holds them all.
std::string ColumnstoreIndex(const TModelIndex& index, const std::string& strOn, const TCatalogModel& model) {
    std::string str = std::string("CREATE ") + (index.bClustered ? "CLUSTERED" : "NONCLUSTERED") +
                      " COLUMNSTORE INDEX " + QuoteName(index.strName) + " ON " + strOn;
    if (!index.bClustered)
        str += " (" + ColumnList(index.aIncluded) + ")";
    if (!index.aOrder.empty())
        str += " ORDER (" + ColumnList(index.aOrder) + ")";
    if (!index.strFilter.empty())
        str += " WHERE " + Parenthesized(index.strFilter);
    return str + WithOptions(ColumnstoreOptions(index)) +
           DataSpaceClause(index.strDataSpace, index.aPartitionColumns, model.strDefaultDataSpace);
}

// The tessellation's options come first, as CREATE SPATIAL INDEX orders them; USING is always written, as
// the scheme the server takes without it changed with its versions. A spatial index on a partitioned table
// follows the table's partition scheme, which it cannot name.
std::string SpatialIndex(const TModelIndex& index, const std::string& strOn, const TCatalogModel& model) {
    const TModelTessellation& tessellation = *index.tessellation;
    std::vector<std::string> aOptions;
    if (!tessellation.aBoundingBox.empty())
        aOptions.push_back("BOUNDING_BOX = (" + JoinText(tessellation.aBoundingBox) + ")");
    std::vector<std::string> aLevels;
    for (size_t i = 0; i < tessellation.aGrids.size(); ++i)
        aLevels.push_back("LEVEL_" + std::to_string(i + 1) + " = " + tessellation.aGrids[i]);
    if (!aLevels.empty())
        aOptions.push_back("GRIDS = (" + JoinText(aLevels) + ")");
    if (tessellation.nCellsPerObject > 0)
        aOptions.push_back("CELLS_PER_OBJECT = " + std::to_string(tessellation.nCellsPerObject));
    for (std::string& strOption : IndexOptionList(index, false))
        aOptions.push_back(std::move(strOption));
    std::vector<std::string> aColumns;
    for (const TModelIndexColumn& key : index.aKeys)
        aColumns.push_back(key.strColumn);
    return "CREATE SPATIAL INDEX " + QuoteName(index.strName) + " ON " + strOn + " (" + ColumnList(aColumns) +
           ") USING " + tessellation.strScheme + WithOptions(aOptions) +
           (index.aPartitionColumns.empty()
                ? DataSpaceClause(index.strDataSpace, {}, model.strDefaultDataSpace)
                : std::string());
}

std::string RowstoreIndex(const TModelIndex& index, const std::string& strOn, const TCatalogModel& model) {
    std::string str = std::string("CREATE ") + (index.bUnique ? "UNIQUE " : "") +
                      (index.bClustered ? "CLUSTERED" : "NONCLUSTERED") + " INDEX " +
                      QuoteName(index.strName) + " ON " + strOn + " (" + KeyList(index) + ")";
    if (!index.aIncluded.empty())
        str += " INCLUDE (" + ColumnList(index.aIncluded) + ")";
    if (!index.strFilter.empty())
        str += " WHERE " + Parenthesized(index.strFilter);
    return str + IndexOptions(index, false) +
           DataSpaceClause(index.strDataSpace, index.aPartitionColumns, model.strDefaultDataSpace);
}

} // namespace

TStatements CreateIndex(TDdlObject object, const TDdlContext& context) {
    const TModelIndex& index = *Part<TModelIndex>(object).pPart;
    if (!index.strXmlType.empty())
        return CreateXmlIndex(object, context);
    const std::string strOn = QuoteName(object.key.strSchema, object.key.strTable);
    const std::string str = index.bColumnstore   ? ColumnstoreIndex(index, strOn, context.model)
                            : index.tessellation ? SpatialIndex(index, strOn, context.model)
                                                 : RowstoreIndex(index, strOn, context.model);
    TStatements aStatements{{str + ";"}};
    if (index.bDisabled)
        aStatements.push_back({"ALTER INDEX " + QuoteName(index.strName) + " ON " + strOn + " DISABLE;"});
    return aStatements;
}

TStatements CreateForeignKey(TDdlObject object, const TDdlContext& /*context*/) {
    const auto& [pTable, pKey] = Part<TModelForeignKey>(object);
    const TModelForeignKey& key = *pKey;
    std::vector<std::string> aColumns, aReferencedColumns;
    for (const auto& [strColumn, strReferenced] : key.aColumns) {
        aColumns.push_back(QuoteName(strColumn));
        aReferencedColumns.push_back(QuoteName(strReferenced));
    }
    std::string str = AlterTable(*pTable) + (key.bNotTrusted ? " WITH NOCHECK" : "") + " ADD CONSTRAINT " +
                      QuoteName(key.strName) + " FOREIGN KEY (" + JoinText(aColumns) + ") REFERENCES " +
                      QuoteName(key.strReferencedSchema, key.strReferencedTable) + " (" +
                      JoinText(aReferencedColumns) + ")";
    for (const std::string& strAction :
         {ReferentialAction(" ON DELETE", key.eOnDelete), ReferentialAction(" ON UPDATE", key.eOnUpdate)})
        str += strAction;
    if (key.bNotForReplication)
        str += " NOT FOR REPLICATION";
    TStatements aStatements{{str + ";"}};
    if (key.bDisabled)
        aStatements.push_back(DisableConstraint(*pTable, key.strName));
    return aStatements;
}

namespace {

// A part's drop runs only where its table is there: IF EXISTS covers the part, not the table.
// pszType: the object type OBJECT_ID looks for, U for a table, V for a view.
std::string IfTableExists(const TModelKey& key, const char* pszType = "U") {
    return "IF OBJECT_ID(" + UnicodeLiteral(QuoteName(key.strSchema, key.strTable)) + ", N'" + pszType +
           "') IS NOT NULL ";
}

} // namespace

TStatements DropConstraint(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    return {{IfTableExists(key) + "ALTER TABLE " + QuoteName(key.strSchema, key.strTable) +
             " DROP CONSTRAINT IF EXISTS " + QuoteName(key.strName) + ";"}};
}

TStatements DropColumn(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    return {{"ALTER TABLE " + QuoteName(key.strSchema, key.strTable) + " DROP COLUMN " +
             QuoteName(key.strName) + ";"}};
}

TStatements DropIndex(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    const bool bOfView = !Part<TModelIndex>(object).pTable;
    return {{IfTableExists(key, bOfView ? "V" : "U") + "DROP INDEX IF EXISTS " + QuoteName(key.strName) +
             " ON " + QuoteName(key.strSchema, key.strTable) + ";"}};
}

// The mask is set again after the type, whether or not ALTER COLUMN keeps it.
TStatements AlterColumn(const TPlanObject& from, const TPlanObject& to, const TAlterContext& context) {
    const auto& [pTable, pColumn] = std::get<TTablePart<TModelColumn>>(to);
    std::string str = AlterTable(*pTable) + " ALTER COLUMN " + QuoteName(pColumn->strName) + " " +
                      DataTypeText(pColumn->type);
    if (context.dialect.bAlterColumnNullability) {
        if (!pColumn->strCollation.empty() &&
            strcasecmp(pColumn->strCollation.c_str(), context.to.model.strCollation.c_str()) != 0)
            str += " COLLATE " + pColumn->strCollation;
        str += pColumn->bNullable ? " NULL" : " NOT NULL";
    }
    TStatements aStatements{{str + ";"}};
    if (!pColumn->strMaskingFunction.empty() ||
        !std::get<TTablePart<TModelColumn>>(from).pPart->strMaskingFunction.empty())
        for (TStatement& statement : AlterColumnMask(from, to, context))
            aStatements.push_back(std::move(statement));
    return aStatements;
}

TStatements AlterColumnMask(const TPlanObject& /*from*/, const TPlanObject& to,
                            const TAlterContext& /*context*/) {
    const auto& [pTable, pColumn] = std::get<TTablePart<TModelColumn>>(to);
    const std::string strAlter = AlterTable(*pTable) + " ALTER COLUMN " + QuoteName(pColumn->strName);
    if (pColumn->strMaskingFunction.empty())
        return {{strAlter + " DROP MASKED;"}};
    return {{strAlter + " ADD" + MaskClause(*pColumn) + ";"}};
}

// CREATE PRIMARY XML INDEX, or CREATE XML INDEX ... USING XML INDEX ... FOR: on the table's data space, with
// no ON of its own.
TStatements CreateXmlIndex(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelIndex& index = *Part<TModelIndex>(object).pPart;
    const bool bPrimary = index.strXmlType == "PRIMARY";
    const std::string strOn = QuoteName(object.key.strSchema, object.key.strTable);
    std::vector<std::string> aColumns;
    for (const TModelIndexColumn& key : index.aKeys)
        aColumns.push_back(key.strColumn);
    std::string str = std::string(bPrimary ? "CREATE PRIMARY XML INDEX " : "CREATE XML INDEX ") +
                      QuoteName(index.strName) + " ON " + strOn + " (" + ColumnList(aColumns) + ")";
    if (!bPrimary)
        str += " USING XML INDEX " + QuoteName(index.strUsingXmlIndex) + " FOR " + index.strXmlType;
    TStatements aStatements{{str + IndexOptions(index, false) + ";"}};
    if (index.bDisabled)
        aStatements.push_back({"ALTER INDEX " + QuoteName(index.strName) + " ON " + strOn + " DISABLE;"});
    return aStatements;
}
