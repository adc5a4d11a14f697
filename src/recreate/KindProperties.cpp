#include "recreate/KindProperties.h"

#include "catalog/SqlIdentifiers.h"
#include "platform/Text.h"
#include "platform/Unicode.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <cctype>

namespace {

std::vector<std::string> PairedColumns(const TColumnPairs& aPairs, bool bReferenced) {
    std::vector<std::string> aColumns;
    for (const auto& [strColumn, strReferenced] : aPairs)
        aColumns.push_back(bReferenced ? strReferenced : strColumn);
    return aColumns;
}

} // namespace

std::string YesNo(bool b) {
    return b ? "yes" : "no";
}

std::string OnOff(bool b) {
    return b ? "ON" : "OFF";
}

const std::string& AsIs(const std::string& str) {
    return str;
}

std::string DisplayName(std::initializer_list<std::string_view> aParts) {
    std::vector<std::string> aShown;
    for (const std::string_view strPart : aParts)
        if (!strPart.empty())
            aShown.push_back(DelimitIdentifier(CString(std::string(strPart))).Str());
    return JoinText(aShown, ".");
}

std::string TypeText(const TModelDataType& type) {
    if (type.IsUserDefined())
        return DisplayName({type.strSchema, type.strName});
    if (type.IsTypedXml())
        return type.strName + (type.bXmlDocument ? "(DOCUMENT " : "(CONTENT ") +
               DisplayName({type.strXmlSchema, type.strXmlCollection}) + ")";
    return type.strName + DataTypeText(type).substr(type.strName.size() + 2);
}

std::string ColumnNames(const std::vector<std::string>& aColumns) {
    std::vector<std::string> aShown;
    for (const std::string& strColumn : aColumns)
        aShown.push_back(DisplayName({strColumn}));
    return JoinText(aShown);
}

std::string KeyColumns(const std::vector<TModelIndexColumn>& aKeys) {
    std::vector<std::string> aShown;
    for (const TModelIndexColumn& key : aKeys)
        aShown.push_back(DisplayName({key.strColumn}) + (key.bDescending ? " DESC" : " ASC"));
    return JoinText(aShown);
}

std::string ReferentialAction(eModelReferentialAction eAction) {
    switch (eAction) {
    case eModelReferentialAction::Cascade:
        return "CASCADE";
    case eModelReferentialAction::SetNull:
        return "SET NULL";
    case eModelReferentialAction::SetDefault:
        return "SET DEFAULT";
    case eModelReferentialAction::NoAction:
        break;
    }
    return "NO ACTION";
}

std::string IdentityText(const std::optional<TModelIdentity>& identity) {
    return identity ? identity->strSeed + ", " + identity->strIncrement : std::string();
}

std::string IdentityNotForReplicationText(const std::optional<TModelIdentity>& identity) {
    return YesNo(identity && identity->bNotForReplication);
}

std::string ComputedText(const std::optional<TModelComputed>& computed) {
    return computed ? computed->strDefinition : std::string();
}

std::string PersistedText(const std::optional<TModelComputed>& computed) {
    return YesNo(computed && computed->bPersisted);
}

std::string KeyTypeText(eModelIndexKind eKind) {
    return eKind == eModelIndexKind::PrimaryKey ? "PRIMARY KEY" : "UNIQUE";
}

std::string ForeignKeyColumns(const TColumnPairs& aPairs) {
    return ColumnNames(PairedColumns(aPairs, false));
}

std::string ForeignKeyReferences(const TModelForeignKey& key) {
    return DisplayName({key.strReferencedSchema, key.strReferencedTable});
}

std::string ForeignKeyReferencedColumns(const TColumnPairs& aPairs) {
    return ColumnNames(PairedColumns(aPairs, true));
}

std::string SequenceCache(const TModelSequence& sequence) {
    return !sequence.bCached ? "none" : sequence.strCacheSize.empty() ? "default" : sequence.strCacheSize;
}

// The statement as a script writes it, its line end too.
std::string TableTypeDefinition(const TModelType& type, const TCatalogModel& model) {
    return std::string(TableTypeStatement(type, model).Text()) + LineEnd();
}

std::string PropertyValueText(const std::optional<std::string>& value) {
    return value.value_or("NULL");
}

std::string FilegroupTypeText(const std::string& strType) {
    if (strType == "FD")
        return "FILESTREAM";
    return strType == "FX" ? "MEMORY_OPTIMIZED_DATA" : "ROWS";
}

// Each file by its logical name with its sizes in pages, as the catalog gives them.
std::string FilesText(const std::vector<TModelFile>& aFiles) {
    std::vector<std::string> aShown;
    for (const TModelFile& file : aFiles)
        aShown.push_back(DisplayName({file.strName}) + " (size " + std::to_string(file.nSize) + ", max " +
                         (file.nMaxSize == -1 ? "unlimited" : std::to_string(file.nMaxSize)) + ", growth " +
                         std::to_string(file.nGrowth) + (file.bPercentGrowth ? "%" : "") + ")");
    return JoinText(aShown);
}

std::string RangeSideText(bool bRight) {
    return bRight ? "RIGHT" : "LEFT";
}

std::string BoundariesText(const std::vector<TModelBoundary>& aBoundaries) {
    std::vector<std::string> aShown;
    for (const TModelBoundary& boundary : aBoundaries)
        aShown.push_back(BoundaryLiteral(boundary));
    return JoinText(aShown);
}

std::string DurabilityText(bool bSchemaOnly) {
    return bSchemaOnly ? "SCHEMA_ONLY" : "SCHEMA_AND_DATA";
}

std::string GraphText(eModelGraph eGraph) {
    if (eGraph == eModelGraph::None)
        return std::string();
    return eGraph == eModelGraph::Node ? "NODE" : "EDGE";
}

std::string PeriodText(const std::optional<TModelPeriod>& period) {
    return period ? ColumnNames({period->strStart, period->strEnd}) : std::string();
}

std::string GeneratedText(eModelGenerated eGenerated) {
    if (eGenerated == eModelGenerated::None)
        return std::string();
    return eGenerated == eModelGenerated::RowStart ? "ROW START" : "ROW END";
}

std::string HistoryTableText(const TModelVersioning& versioning) {
    return DisplayName({versioning.strHistorySchema, versioning.strHistoryTable});
}

std::string RetentionText(const std::string& strRetention) {
    return strRetention.empty() ? "INFINITE" : strRetention;
}

std::string ConnectionsText(const std::vector<TModelConnection>& aConnections) {
    std::vector<std::string> aShown;
    for (const TModelConnection& connection : aConnections)
        aShown.push_back(DisplayName({connection.strFromSchema, connection.strFromTable}) + " TO " +
                         DisplayName({connection.strToSchema, connection.strToTable}));
    return JoinText(aShown);
}

std::string OnDeleteText(bool bCascade) {
    return bCascade ? "CASCADE" : "NO ACTION";
}

std::string TriggerOrderText(const std::vector<TModelTriggerOrder>& aOrder) {
    std::vector<std::string> aShown;
    for (const TModelTriggerOrder& order : aOrder)
        aShown.push_back((order.bFirst ? "first " : "last ") + order.strStatement);
    return JoinText(aShown);
}

std::string PredicatesText(const std::vector<TModelSecurityPredicate>& aPredicates) {
    std::string str;
    for (const TModelSecurityPredicate& predicate : aPredicates)
        str += (str.empty() ? "" : LineEnd()) + PredicateClause(predicate);
    return str;
}

std::string PartitionNumbersText(const std::vector<int>& aPartitions) {
    std::vector<std::string> aShown;
    for (const int nPartition : aPartitions)
        aShown.push_back(std::to_string(nPartition));
    return JoinText(aShown);
}

std::string TessellationSchemeText(const TModelIndex& index) {
    return index.tessellation ? index.tessellation->strScheme : std::string();
}

std::string BoundingBoxText(const TModelIndex& index) {
    return index.tessellation ? JoinText(index.tessellation->aBoundingBox) : std::string();
}

std::string GridsText(const TModelIndex& index) {
    return index.tessellation ? JoinText(index.tessellation->aGrids) : std::string();
}

std::string CellsPerObjectText(const TModelIndex& index) {
    return index.tessellation ? std::to_string(index.tessellation->nCellsPerObject) : std::string();
}

std::string FullTextStoplistText(const TModelFullTextIndex& index) {
    if (index.bNoStoplist)
        return "OFF";
    return index.strStoplist.empty() ? "SYSTEM" : DisplayName({index.strStoplist});
}

std::string FullTextColumnsText(const std::vector<TModelFullTextColumn>& aColumns) {
    std::string str;
    for (const TModelFullTextColumn& column : aColumns)
        str += (str.empty() ? "" : LineEnd()) + DisplayName({column.strColumn}) +
               (column.strTypeColumn.empty() ? "" : " TYPE COLUMN " + DisplayName({column.strTypeColumn})) +
               " LANGUAGE " + std::to_string(column.nLanguage) +
               (column.bStatisticalSemantics ? " STATISTICAL_SEMANTICS" : "");
    return str;
}

std::string StopwordsText(const std::vector<TModelStopword>& aWords) {
    std::vector<std::string> aShown;
    for (const TModelStopword& word : aWords)
        aShown.push_back(word.strWord + " (" + std::to_string(word.nLanguage) + ")");
    return JoinText(aShown);
}

std::string SearchPropertiesText(const std::vector<TModelSearchProperty>& aProperties) {
    std::string str;
    for (const TModelSearchProperty& property : aProperties)
        str += (str.empty() ? "" : LineEnd()) + property.strName + " (" + property.strSetGuid + ", " +
               std::to_string(property.nIntId) +
               (property.description ? ", " + UnicodeLiteral(*property.description) : "") + ")";
    return str;
}
