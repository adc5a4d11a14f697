#include "recreate/RecreateKinds.h"

#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"

#include <algorithm>

namespace {

using enum eModelKind;
using enum eRecreateSection;
using P = eProperty;

std::string Number(int n) {
    return std::to_string(n);
}

template <typename T, size_t N, size_t M>
constexpr std::array<T, N + M> Joined(const std::array<T, N>& aFirst, const std::array<T, M>& aSecond) {
    std::array<T, N + M> aJoined{};
    std::copy(aFirst.begin(), aFirst.end(), aJoined.begin());
    std::copy(aSecond.begin(), aSecond.end(), aJoined.begin() + N);
    return aJoined;
}

// The properties of each compared kind, in the order lines show them.
constexpr std::array<TKindProperty, 1> kSchemaProperties = {
    MemberProperty<&TModelSchema::strOwner, &AsIs>(P::Owner, "owner")};

constexpr std::array<TKindProperty, 2> kAliasTypeProperties = {
    MemberProperty<&TModelType::base, &TypeText>(P::Type, "type"),
    MemberProperty<&TModelType::bNullable, &YesNo>(P::Nullable, "nullable")};

constexpr std::array<TKindProperty, 1> kTableTypeProperties = {
    RecordProperty<TModelType, &TableTypeDefinition>(P::Definition, "definition")};

constexpr std::array<TKindProperty, 7> kSequenceProperties = {
    MemberProperty<&TModelSequence::type, &TypeText>(P::Type, "type"),
    MemberProperty<&TModelSequence::strStart, &AsIs>(P::Start, "start"),
    MemberProperty<&TModelSequence::strIncrement, &AsIs>(P::Increment, "increment"),
    MemberProperty<&TModelSequence::strMinimum, &AsIs>(P::Minimum, "minimum"),
    MemberProperty<&TModelSequence::strMaximum, &AsIs>(P::Maximum, "maximum"),
    MemberProperty<&TModelSequence::bCycling, &YesNo>(P::Cycle, "cycle"),
    RecordProperty<TModelSequence, &SequenceCache>(P::Cache, "cache")};

constexpr std::array<TKindProperty, 1> kSynonymProperties = {
    MemberProperty<&TModelSynonym::strBaseObject, &AsIs>(P::BaseObject, "base object")};

constexpr std::array<TKindProperty, 8> kTableProperties = {
    MemberProperty<&TModelTable::strDataSpace, &AsIs>(P::DataSpace, "data space"),
    MemberProperty<&TModelTable::aPartitionColumns, &ColumnNames>(P::PartitionColumns, "partition columns"),
    MemberProperty<&TModelTable::strLobDataSpace, &AsIs>(P::LobDataSpace, "text and image data space"),
    MemberProperty<&TModelTable::strFilestreamDataSpace, &AsIs>(P::FilestreamDataSpace,
                                                                "filestream data space"),
    MemberProperty<&TModelTable::bMemoryOptimized, &YesNo>(P::MemoryOptimized, "memory-optimized"),
    MemberProperty<&TModelTable::bSchemaOnly, &DurabilityText>(P::Durability, "durability"),
    MemberProperty<&TModelTable::eGraph, &GraphText>(P::Graph, "graph"),
    MemberProperty<&TModelTable::period, &PeriodText>(P::Period, "period")};

constexpr std::array<TKindProperty, 14> kColumnProperties = {
    MemberProperty<&TModelColumn::type, &TypeText>(P::Type, "type"),
    MemberProperty<&TModelColumn::strCollation, &AsIs>(P::Collation, "collation"),
    MemberProperty<&TModelColumn::bNullable, &YesNo>(P::Nullable, "nullable"),
    MemberProperty<&TModelColumn::identity, &IdentityText>(P::Identity, "identity"),
    MemberProperty<&TModelColumn::identity, &IdentityNotForReplicationText>(P::IdentityNotForReplication,
                                                                            "identity not for replication"),
    MemberProperty<&TModelColumn::computed, &ComputedText>(P::Computed, "computed"),
    MemberProperty<&TModelColumn::computed, &PersistedText>(P::Persisted, "persisted"),
    MemberProperty<&TModelColumn::bRowGuidCol, &YesNo>(P::RowGuidCol, "rowguidcol"),
    MemberProperty<&TModelColumn::bSparse, &YesNo>(P::Sparse, "sparse"),
    MemberProperty<&TModelColumn::bColumnSet, &YesNo>(P::ColumnSet, "column set"),
    MemberProperty<&TModelColumn::eGenerated, &GeneratedText>(P::Generated, "generated always"),
    MemberProperty<&TModelColumn::bHidden, &YesNo>(P::Hidden, "hidden"),
    MemberProperty<&TModelColumn::bFilestream, &YesNo>(P::Filestream, "filestream"),
    MemberProperty<&TModelColumn::strMaskingFunction, &AsIs>(P::MaskingFunction, "masking function")};

// What indexes and keys have alike, after what is theirs alone.
constexpr std::array<TKindProperty, 13> kIndexOptions = {
    MemberProperty<&TModelIndex::bClustered, &YesNo>(P::Clustered, "clustered"),
    MemberProperty<&TModelIndex::aKeys, &KeyColumns>(P::Keys, "keys"),
    MemberProperty<&TModelIndex::nFillFactor, &Number>(P::FillFactor, "fill factor"),
    MemberProperty<&TModelIndex::bPadded, &YesNo>(P::Padded, "padded"),
    MemberProperty<&TModelIndex::bIgnoreDupKey, &YesNo>(P::IgnoreDuplicateKeys, "ignore duplicate keys"),
    MemberProperty<&TModelIndex::bAllowRowLocks, &YesNo>(P::RowLocks, "row locks"),
    MemberProperty<&TModelIndex::bAllowPageLocks, &YesNo>(P::PageLocks, "page locks"),
    MemberProperty<&TModelIndex::strCompression, &AsIs>(P::Compression, "compression"),
    MemberProperty<&TModelIndex::bDisabled, &YesNo>(P::Disabled, "disabled"),
    MemberProperty<&TModelIndex::strDataSpace, &AsIs>(P::DataSpace, "data space"),
    MemberProperty<&TModelIndex::aPartitionColumns, &ColumnNames>(P::PartitionColumns, "partition columns"),
    MemberProperty<&TModelIndex::bHash, &YesNo>(P::Hash, "hash"),
    MemberProperty<&TModelIndex::nBucketCount, &Number>(P::BucketCount, "bucket count")};

constexpr auto kKeyProperties = Joined(
    std::array<TKindProperty, 1>{MemberProperty<&TModelIndex::eKind, &KeyTypeText>(P::KeyType, "type")},
    kIndexOptions);

// What columnstore and spatial indexes have beside the others'.
constexpr std::array<TKindProperty, 8> kIndexKindProperties = {
    MemberProperty<&TModelIndex::bColumnstore, &YesNo>(P::Columnstore, "columnstore"),
    MemberProperty<&TModelIndex::nCompressionDelay, &Number>(P::CompressionDelay, "compression delay"),
    MemberProperty<&TModelIndex::aOrder, &ColumnNames>(P::Order, "order"),
    MemberProperty<&TModelIndex::aArchivePartitions, &PartitionNumbersText>(P::ArchivePartitions,
                                                                            "archive partitions"),
    RecordProperty<TModelIndex, &TessellationSchemeText>(P::Tessellation, "tessellation"),
    RecordProperty<TModelIndex, &BoundingBoxText>(P::BoundingBox, "bounding box"),
    RecordProperty<TModelIndex, &GridsText>(P::Grids, "grids"),
    RecordProperty<TModelIndex, &CellsPerObjectText>(P::CellsPerObject, "cells per object")};

constexpr auto kIndexProperties = Joined(
    Joined(std::array<TKindProperty, 3>{MemberProperty<&TModelIndex::bUnique, &YesNo>(P::Unique, "unique"),
                                        MemberProperty<&TModelIndex::aIncluded, &ColumnNames>(P::Included,
                                                                                              "included"),
                                        MemberProperty<&TModelIndex::strFilter, &AsIs>(P::Filter, "filter")},
           kIndexOptions),
    kIndexKindProperties);

// What XML indexes have beside: shown empty for any other index.
constexpr auto kIndexAndXmlProperties =
    Joined(kIndexProperties,
           std::array<TKindProperty, 2>{
               MemberProperty<&TModelIndex::strXmlType, &AsIs>(P::XmlIndex, "xml index"),
               MemberProperty<&TModelIndex::strUsingXmlIndex, &AsIs>(P::UsingXmlIndex, "using xml index")});

constexpr std::array<TKindProperty, 5> kCheckProperties = {
    MemberProperty<&TModelCheck::strColumn, &AsIs>(P::Column, "column"),
    MemberProperty<&TModelCheck::strDefinition, &AsIs>(P::Definition, "definition"),
    MemberProperty<&TModelCheck::bDisabled, &YesNo>(P::Disabled, "disabled"),
    MemberProperty<&TModelCheck::bNotTrusted, &YesNo>(P::NotTrusted, "not trusted"),
    MemberProperty<&TModelCheck::bNotForReplication, &YesNo>(P::NotForReplication, "not for replication")};

constexpr std::array<TKindProperty, 1> kDefaultProperties = {
    MemberProperty<&TModelDefault::strDefinition, &AsIs>(P::Definition, "definition")};

constexpr std::array<TKindProperty, 9> kForeignKeyProperties = {
    MemberProperty<&TModelForeignKey::aColumns, &ForeignKeyColumns>(P::Columns, "columns"),
    RecordProperty<TModelForeignKey, &ForeignKeyReferences>(P::References, "references"),
    MemberProperty<&TModelForeignKey::aColumns, &ForeignKeyReferencedColumns>(P::ReferencedColumns,
                                                                              "referenced columns"),
    MemberProperty<&TModelForeignKey::strKeyIndex, &AsIs>(P::ReferencedKey, "referenced key"),
    MemberProperty<&TModelForeignKey::eOnDelete, &ReferentialAction>(P::OnDelete, "on delete"),
    MemberProperty<&TModelForeignKey::eOnUpdate, &ReferentialAction>(P::OnUpdate, "on update"),
    MemberProperty<&TModelForeignKey::bDisabled, &YesNo>(P::Disabled, "disabled"),
    MemberProperty<&TModelForeignKey::bNotTrusted, &YesNo>(P::NotTrusted, "not trusted"),
    MemberProperty<&TModelForeignKey::bNotForReplication, &YesNo>(P::NotForReplication,
                                                                  "not for replication")};

constexpr std::array<TKindProperty, 4> kModuleProperties = {
    MemberProperty<&TModelModule::strDefinition, &DefinitionAsCreated>(P::Definition, "definition"),
    MemberProperty<&TModelModule::bAnsiNulls, &OnOff>(P::AnsiNulls, "ANSI_NULLS"),
    MemberProperty<&TModelModule::bQuotedIdentifier, &OnOff>(P::QuotedIdentifier, "QUOTED_IDENTIFIER"),
    MemberProperty<&TModelModule::bSchemaBound, &YesNo>(P::SchemaBound, "schema bound")};

constexpr auto kTriggerProperties =
    Joined(kModuleProperties,
           std::array<TKindProperty, 2>{
               MemberProperty<&TModelModule::bDisabled, &YesNo>(P::Disabled, "disabled"),
               MemberProperty<&TModelModule::aOrder, &TriggerOrderText>(P::TriggerOrder, "order")});

constexpr std::array<TKindProperty, 4> kPolicyProperties = {
    MemberProperty<&TModelSecurityPolicy::aPredicates, &PredicatesText>(P::Predicates, "predicates"),
    MemberProperty<&TModelSecurityPolicy::bEnabled, &OnOff>(P::State, "state"),
    MemberProperty<&TModelSecurityPolicy::bSchemaBound, &OnOff>(P::SchemaBound, "schema binding"),
    MemberProperty<&TModelSecurityPolicy::bNotForReplication, &YesNo>(P::NotForReplication,
                                                                      "not for replication")};

constexpr std::array<TKindProperty, 4> kStatisticProperties = {
    MemberProperty<&TModelStatistic::aColumns, &ColumnNames>(P::Columns, "columns"),
    MemberProperty<&TModelStatistic::strFilter, &AsIs>(P::Filter, "filter"),
    MemberProperty<&TModelStatistic::bNoRecompute, &YesNo>(P::NoRecompute, "no recompute"),
    MemberProperty<&TModelStatistic::bIncremental, &YesNo>(P::Incremental, "incremental")};

constexpr std::array<TKindProperty, 1> kXmlSchemaCollectionProperties = {
    MemberProperty<&TModelXmlSchemaCollection::strText, &AsIs>(P::XmlSchemas, "schemas")};

constexpr std::array<TKindProperty, 2> kFullTextCatalogProperties = {
    MemberProperty<&TModelFullTextCatalog::bAccentSensitive, &OnOff>(P::AccentSensitivity,
                                                                     "accent sensitivity"),
    MemberProperty<&TModelFullTextCatalog::bDefault, &YesNo>(P::Default, "default")};

// Population and crawls are the server's business, never compared.
constexpr std::array<TKindProperty, 7> kFullTextIndexProperties = {
    MemberProperty<&TModelFullTextIndex::strKeyIndex, &AsIs>(P::KeyIndex, "key index"),
    MemberProperty<&TModelFullTextIndex::strCatalog, &AsIs>(P::Catalog, "catalog"),
    MemberProperty<&TModelFullTextIndex::strChangeTracking, &AsIs>(P::ChangeTracking, "change tracking"),
    RecordProperty<TModelFullTextIndex, &FullTextStoplistText>(P::Stoplist, "stoplist"),
    MemberProperty<&TModelFullTextIndex::aColumns, &FullTextColumnsText>(P::IndexedColumns, "columns"),
    MemberProperty<&TModelFullTextIndex::strPropertyList, &AsIs>(P::PropertyList, "search property list"),
    MemberProperty<&TModelFullTextIndex::bDisabled, &YesNo>(P::Disabled, "disabled")};

constexpr std::array<TKindProperty, 1> kStoplistProperties = {
    MemberProperty<&TModelFullTextStoplist::aWords, &StopwordsText>(P::Stopwords, "words")};

constexpr std::array<TKindProperty, 1> kSearchPropertyListProperties = {
    MemberProperty<&TModelSearchPropertyList::aProperties, &SearchPropertiesText>(P::SearchProperties,
                                                                                  "properties")};

constexpr std::array<TKindProperty, 2> kPropertyProperties = {
    MemberProperty<&TModelExtendedProperty::value, &PropertyValueText>(P::Value, "value"),
    MemberProperty<&TModelExtendedProperty::strBaseType, &AsIs>(P::ValueType, "type")};

constexpr std::array<TKindProperty, 3> kFilegroupProperties = {
    MemberProperty<&TModelFilegroup::strType, &FilegroupTypeText>(P::FilegroupType, "type"),
    MemberProperty<&TModelFilegroup::bDefault, &YesNo>(P::Default, "default"),
    MemberProperty<&TModelFilegroup::aFiles, &FilesText>(P::Files, "files")};

constexpr std::array<TKindProperty, 3> kPartitionFunctionProperties = {
    MemberProperty<&TModelPartitionFunction::type, &TypeText>(P::Type, "type"),
    MemberProperty<&TModelPartitionFunction::bRangeRight, &RangeSideText>(P::RangeSide, "range"),
    MemberProperty<&TModelPartitionFunction::aBoundaries, &BoundariesText>(P::Boundaries, "boundaries")};

constexpr std::array<TKindProperty, 2> kPartitionSchemeProperties = {
    MemberProperty<&TModelPartitionScheme::strFunction, &AsIs>(P::Function, "function"),
    MemberProperty<&TModelPartitionScheme::aFilegroups, &ColumnNames>(P::Filegroups, "filegroups")};

constexpr std::array<TKindProperty, 2> kVersioningProperties = {
    RecordProperty<TModelVersioning, &HistoryTableText>(P::HistoryTable, "history table"),
    MemberProperty<&TModelVersioning::strRetention, &RetentionText>(P::Retention, "retention")};

constexpr std::array<TKindProperty, 2> kEdgeConstraintProperties = {
    MemberProperty<&TModelEdgeConstraint::aConnections, &ConnectionsText>(P::Connections, "connections"),
    MemberProperty<&TModelEdgeConstraint::bOnDeleteCascade, &OnDeleteText>(P::OnDelete, "on delete")};

// The rules of each kind, in the order they decide (ChangeRules.h); a property no rule is bound to makes its
// object again.
constexpr std::array<TKindRule, 1> kSchemaRules = {{{P::Owner, &AlteredBy<&AlterSchemaOwner>}}};

constexpr std::array<TKindRule, 2> kAliasTypeRules = {
    {{P::Type, &AliasTypeChange}, {P::Nullable, &AliasTypeChange}}};

constexpr std::array<TKindRule, 6> kSequenceRules = {{{P::Start, &AlteredBy<&AlterSequence>},
                                                      {P::Increment, &AlteredBy<&AlterSequence>},
                                                      {P::Minimum, &AlteredBy<&AlterSequence>},
                                                      {P::Maximum, &AlteredBy<&AlterSequence>},
                                                      {P::Cycle, &AlteredBy<&AlterSequence>},
                                                      {P::Cache, &AlteredBy<&AlterSequence>}}};

constexpr std::array<TKindRule, 8> kTableRules = {{{P::DataSpace, &TableStorageChange},
                                                   {P::PartitionColumns, &TableStorageChange},
                                                   {P::LobDataSpace, &TableStorageChange},
                                                   {P::FilestreamDataSpace, &TableStorageChange},
                                                   {P::MemoryOptimized, &TableKindChange},
                                                   {P::Durability, &TableKindChange},
                                                   {P::Graph, &TableKindChange},
                                                   {P::Period, &AlteredBy<&AlterPeriod>}}};

// A column's type first, whose refusal an in-place change carries; then why a table is rebuilt, the reason
// told being the first that holds.
constexpr std::array<TKindRule, 13> kColumnRules = {
    {{P::Type, &ColumnTypeChange},
     {P::Identity, &ColumnIdentityChange},
     {P::IdentityNotForReplication, &ColumnIdentityOptionChange},
     {P::Computed, &ColumnComputationChange},
     {P::RowGuidCol, &ColumnStorageChange},
     {P::Sparse, &ColumnStorageChange},
     {P::ColumnSet, &ColumnStorageChange},
     {P::Filestream, &ColumnFilestreamChange},
     {P::Nullable, &ColumnNullabilityChange},
     {P::Collation, &ColumnCollationChange},
     {P::Generated, &AlteredBy<&AlteredElsewhere>},
     {P::Hidden, &AlteredBy<&AlterColumnHidden>},
     {P::MaskingFunction, &ColumnMaskChange}}};

constexpr std::array<TKindRule, 4> kModuleRules = {{{P::Definition, &ModuleChange},
                                                    {P::AnsiNulls, &ModuleChange},
                                                    {P::QuotedIdentifier, &ModuleChange},
                                                    {P::SchemaBound, &ModuleChange}}};

// Enabled or disabled, or ordered, alone when nothing else changes.
constexpr auto kTriggerRules =
    Joined(kModuleRules, std::array<TKindRule, 2>{{{P::Disabled, &AlteredBy<&EnableTrigger>},
                                                   {P::TriggerOrder, &AlteredBy<&SetTriggerOrder>}}});

constexpr std::array<TKindRule, 2> kPolicyRules = {
    {{P::Predicates, &PolicyPredicatesChange}, {P::State, &AlteredBy<&AlterSecurityPolicy>}}};

constexpr std::array<TKindRule, 1> kStatisticRules = {
    {{P::NoRecompute, &AlteredBy<&AlterStatisticRecompute>}}};

constexpr std::array<TKindRule, 1> kXmlSchemaCollectionRules = {{{P::XmlSchemas, &XmlSchemasChange}}};

constexpr std::array<TKindRule, 2> kFullTextCatalogRules = {
    {{P::AccentSensitivity, &AlteredBy<&AlterFullTextCatalog>},
     {P::Default, &AlteredBy<&AlterFullTextCatalog>}}};

// A key index or catalog changed makes the index again.
constexpr std::array<TKindRule, 5> kFullTextIndexRules = {
    {{P::ChangeTracking, &AlteredBy<&AlterFullTextIndex>},
     {P::Stoplist, &AlteredBy<&AlterFullTextIndex>},
     {P::IndexedColumns, &FullTextColumnsChange},
     {P::PropertyList, &AlteredBy<&AlterFullTextIndex>},
     {P::Disabled, &AlteredBy<&AlterFullTextIndex>}}};

// Words are added and dropped one by one: the stoplist stays, and so do the indexes that use it.
constexpr std::array<TKindRule, 1> kStoplistRules = {{{P::Stopwords, &AlteredBy<&AlterStopwords>}}};

// Properties are added and dropped one by one: the list stays, and so do the indexes that use it.
constexpr std::array<TKindRule, 1> kSearchPropertyListRules = {
    {{P::SearchProperties, &AlteredBy<&AlterSearchProperties>}}};

constexpr std::array<TKindRule, 2> kPropertyRules = {
    {{P::Value, &AlteredBy<&UpdateProperty>}, {P::ValueType, &AlteredBy<&UpdateProperty>}}};

constexpr std::array<TKindRule, 3> kPartitionFunctionRules = {
    {{P::Type, &PartitionChange}, {P::RangeSide, &PartitionChange}, {P::Boundaries, &PartitionChange}}};

constexpr std::array<TKindRule, 2> kPartitionSchemeRules = {
    {{P::Function, &PartitionChange}, {P::Filegroups, &PartitionChange}}};

constexpr std::array<TKindRule, 1> kVersioningRules = {{{P::Retention, &AlteredBy<&AlterRetention>}}};

constexpr std::span<const TKindProperty> kNotCompared;
constexpr std::span<const TKindRule> kNoRules;

// The names of the database's schemas, user types and schema-level objects, asked for as nvarchar as the
// model asks, so that they compare with the scripts' on a server that types them varchar.
constexpr std::string_view kSchemaNames = "SELECT '', CAST(name AS nvarchar(128)) FROM sys.schemas";
constexpr std::string_view kTypeNames =
    "SELECT CAST(s.name AS nvarchar(128)), CAST(t.name AS nvarchar(128)) FROM sys.types t JOIN sys.schemas s "
    "ON s.schema_id = t.schema_id WHERE t.is_user_defined = 1";
constexpr std::string_view kObjectNames = "SELECT CAST(s.name AS nvarchar(128)), CAST(o.name AS "
                                          "nvarchar(128)) FROM sys.objects o JOIN sys.schemas s "
                                          "ON s.schema_id = o.schema_id WHERE o.is_ms_shipped = 0";
constexpr std::string_view kXmlSchemaCollectionNames =
    "SELECT CAST(SCHEMA_NAME(schema_id) AS nvarchar(128)), CAST(name AS nvarchar(128)) FROM "
    "sys.xml_schema_collections";
// Users and roles share the database's one list of principals.
constexpr std::string_view kPrincipalNames =
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.database_principals";
using U = eUsersMadeAgain;

// What apply looks for: a CREATE of the word makes an object of its schema, whose name the names strNames
// lists must not hold.
constexpr TCreateWord Creates(std::string_view strWord, std::string_view strNoun, std::string_view strNames,
                              bool bWholeBatch, std::string_view strAbbreviation = {}) {
    return {strWord, strAbbreviation, strNoun, strNames, true, bWholeBatch};
}
// A schema's name is the database's own, and so are a partition function's and scheme's.
constexpr TCreateWord kCreateSchema{"SCHEMA", "", "schema", kSchemaNames, false, true};
constexpr TCreateWord kCreatePartitionFunction{
    "PARTITION FUNCTION",
    "",
    "partition function",
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.partition_functions",
    false,
    false};
constexpr TCreateWord kCreatePartitionScheme{
    "PARTITION SCHEME",
    "",
    "partition scheme",
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.partition_schemes",
    false,
    false};
// A full-text catalog's and stoplist's names are the database's own; apply then names one the target has
// before the run.
constexpr TCreateWord kCreateFullTextCatalog{
    "FULLTEXT CATALOG",
    "",
    "full-text catalog",
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.fulltext_catalogs",
    false,
    false};
constexpr TCreateWord kCreateFullTextStoplist{
    "FULLTEXT STOPLIST",
    "",
    "full-text stoplist",
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.fulltext_stoplists",
    false,
    false};
constexpr TCreateWord kCreateSearchPropertyList{
    "SEARCH PROPERTY LIST",
    "",
    "search property list",
    "SELECT '', CAST(name AS nvarchar(128)) FROM sys.registered_search_property_lists",
    false,
    false};
constexpr TCreateWord kNoCreate{};
// A principal's name is the database's own.
constexpr TCreateWord CreatesPrincipal(std::string_view strWord, std::string_view strNoun) {
    return {strWord, "", strNoun, kPrincipalNames, false, false};
}

// In apply order: a kind's steps start in its section and, within one, come in its priority's order
// (checks and defaults of a table by name, together).
constexpr std::array<TRecreateKind, MODEL_KIND_COUNT> g_aKinds = {{
    {Schema, "schema", "schemas", "Schemas", "SCHEMA", Schemas, 0, false, false, &CollectSchemas,
     &NeedSchemaOwner, &CreateSchema, &DropSchema, kSchemaProperties, kSchemaRules, U::None, "",
     kCreateSchema},
    {AliasType, "alias type", "types", "Types", "TYPE", Types, 1, true, true, &CollectTypes, &NeedNothing,
     &CreateAliasType, &DropSchemaObject, kAliasTypeProperties, kAliasTypeRules, U::All, "",
     Creates("TYPE", "type", kTypeNames, false)},
    {TableType, "table type", "types", "Types", "TYPE", Types, 2, true, true, &CollectTypes,
     &NeedTableTypeParts, &CreateTableType, &DropSchemaObject, kTableTypeProperties, kNoRules, U::All, "",
     Creates("TYPE", "type", kTypeNames, false)},
    {Sequence, "sequence", "sequences", "Sequences", "SEQUENCE", Sequences, 3, true, false,
     &CollectRecords<&TCatalogModel::aSequences>, &NeedSequenceType, &CreateSequence, &DropSchemaObject,
     kSequenceProperties, kSequenceRules, U::All, "", Creates("SEQUENCE", "sequence", kObjectNames, false)},
    {Synonym, "synonym", "synonyms", "Synonyms", "SYNONYM", Synonyms, 4, true, false,
     &CollectRecords<&TCatalogModel::aSynonyms>, &NeedNothing, &CreateSynonym, &DropSchemaObject,
     kSynonymProperties, kNoRules, U::None, "", Creates("SYNONYM", "synonym", kObjectNames, false)},
    {Table, "table", "tables", "Tables", "TABLE", Tables, 5, true, true,
     &CollectRecords<&TCatalogModel::aTables>, &NeedColumnUses, &CreateTable, &DropTable, kTableProperties,
     kTableRules, U::Modules, "rows", Creates("TABLE", "table", kObjectNames, false)},
    {Column, "column", "tables", "Tables", "COLUMN", Tables, 5, false, true, &CollectNothing, &NeedOwnTable,
     &AddColumn, &DropColumn, kColumnProperties, kColumnRules, U::None, "values", kNoCreate},
    {Key, "key", "tables", "Tables", "CONSTRAINT", Tables, 5, false, true, &CollectNothing, &NeedOwnTable,
     &AddKey, &DropConstraint, kKeyProperties, kNoRules, U::ForeignKeys, "", kNoCreate},
    // CREATE RULE makes the older form of a check: an object of its own, bound to columns.
    {Check, "check", "tables", "Constraints", "CONSTRAINT", Constraints, 6, false, true, &CollectTableParts,
     &NeedConstraintUses, &CreateCheck, &DropConstraint, kCheckProperties, kNoRules, U::None, "",
     Creates("RULE", "rule", kObjectNames, true)},
    // CREATE DEFAULT makes the older form of a default, likewise.
    {Default, "default", "tables", "Constraints", "CONSTRAINT", Constraints, 6, false, true,
     &CollectTableParts, &NeedConstraintUses, &CreateDefault, &DropConstraint, kDefaultProperties, kNoRules,
     U::None, "", Creates("DEFAULT", "default", kObjectNames, true)},
    {Index, "index", "indexes", "Indexes", "INDEX", Indexes, 7, false, false, &CollectTableParts,
     &NeedIndexOwner, &CreateIndex, &DropIndex, kIndexAndXmlProperties, kNoRules, U::ForeignKeys, "",
     kNoCreate},
    {ForeignKey, "foreign key", "fk", "ForeignKeys", "CONSTRAINT", ForeignKeys, 8, false, false,
     &CollectTableParts, &NeedReferencedKey, &CreateForeignKey, &DropConstraint, kForeignKeyProperties,
     kNoRules, U::None, "", kNoCreate},
    {View, "view", "views", "Views", "VIEW", ViewsAndFunctions, 9, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject, kModuleProperties, kModuleRules, U::All, "",
     Creates("VIEW", "view", kObjectNames, true)},
    {Function, "function", "functions", "Functions", "FUNCTION", ViewsAndFunctions, 10, true, false,
     &CollectModules, &NeedModuleUses, &CreateModule, &DropSchemaObject, kModuleProperties, kModuleRules,
     U::All, "", Creates("FUNCTION", "function", kObjectNames, true)},
    {Procedure, "procedure", "procs", "Procedures", "PROCEDURE", Procedures, 11, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject, kModuleProperties, kModuleRules, U::None, "",
     Creates("PROCEDURE", "procedure", kObjectNames, true, "PROC")},
    {Trigger, "trigger", "triggers", "Triggers", "TRIGGER", Triggers, 12, true, false, &CollectModules,
     &NeedModuleUses, &CreateModule, &DropSchemaObject, kTriggerProperties, kTriggerRules, U::None, "",
     Creates("TRIGGER", "trigger", kObjectNames, true)},
    {Property, "extended property", "properties", "ExtendedProperties", "", ExtendedProperties, 13, false,
     false, &CollectProperties, &NeedNothing, &CreateProperties, &DropProperties, kPropertyProperties,
     kPropertyRules, U::None, "", kNoCreate},
    // Users and roles come before the schemas they own, users first, as roles may be theirs.
    {User, "user", "security", "Users", "USER", Schemas, -2, false, false, &CollectPrincipals, &NeedNothing,
     &CreateUser, &DropPrincipal, kNotCompared, kNoRules, U::None, "", CreatesPrincipal("USER", "user")},
    {Role, "role", "security", "Roles", "ROLE", Schemas, -1, false, false, &CollectPrincipals, &NeedRoleOwner,
     &CreateRole, &DropPrincipal, kNotCompared, kNoRules, U::None, "", CreatesPrincipal("ROLE", "role")},
    {ApplicationRole, "application role", "security", "Roles", "APPLICATION ROLE", Schemas, -1, false, false,
     &CollectPrincipals, &NeedNothing, &CreateApplicationRole, &DropPrincipal, kNotCompared, kNoRules,
     U::None, "", CreatesPrincipal("APPLICATION ROLE", "application role")},
    {RoleMember, "role member", "security", "RoleMembers", "", Permissions, 0, false, false,
     &CollectRoleMembers, &NeedRoleAndMember, &AddRoleMember, &DropRoleMember, kNotCompared, kNoRules,
     U::None, "", kNoCreate},
    {Owner, "owner", "security", "Owners", "", Permissions, 1, false, false, &CollectOwners,
     &NeedObjectAndOwner, &ChangeOwner, &DropNothing, kNotCompared, kNoRules, U::None, "", kNoCreate},
    {Permission, "permission", "security", "Permissions", "", Permissions, 2, false, false,
     &CollectPermissions, &NeedSecurableAndGrantees, &GrantPermissions, &DropNothing, kNotCompared, kNoRules,
     U::None, "", kNoCreate},
    // The database's storage comes first among the types, which nothing of it uses: filegroups, then the
    // functions and schemes that partition tables over them.
    {Filegroup, "filegroup", "storage", "Filegroups", "FILEGROUP", Types, -3, true, false, &CollectFilegroups,
     &NeedNothing, &CreateFilegroup, &DropFilegroup, kFilegroupProperties, kNoRules, U::None, "", kNoCreate},
    {PartitionFunction, "partition function", "storage", "PartitionFunctions", "PARTITION FUNCTION", Types,
     -2, true, false, &CollectDatabaseRecords<&TCatalogModel::aPartitionFunctions>, &NeedNothing,
     &CreatePartitionFunction, &DropPartitionObject, kPartitionFunctionProperties, kPartitionFunctionRules,
     U::All, "", kCreatePartitionFunction},
    {PartitionScheme, "partition scheme", "storage", "PartitionSchemes", "PARTITION SCHEME", Types, -1, true,
     false, &CollectDatabaseRecords<&TCatalogModel::aPartitionSchemes>, &NeedFunctionAndFilegroups,
     &CreatePartitionScheme, &DropPartitionObject, kPartitionSchemeProperties, kPartitionSchemeRules, U::All,
     "", kCreatePartitionScheme},
    // Versioning turns on after the rows and the history table's indexes, and off before its table changes.
    {Versioning, "system versioning", "tables", "SystemVersioning", "", Indexes, 8, false, false,
     &CollectVersionings, &NeedVersionedTables, &CreateVersioning, &DropVersioning, kVersioningProperties,
     kVersioningRules, U::None, "", kNoCreate},
    {EdgeConstraint, "edge constraint", "fk", "EdgeConstraints", "CONSTRAINT", ForeignKeys, 8, false, false,
     &CollectTableParts, &NeedConnectedNodes, &CreateEdgeConstraint, &DropConstraint,
     kEdgeConstraintProperties, kNoRules, U::None, "", kNoCreate},
    {SecurityPolicy, "security policy", "policies", "SecurityPolicies", "SECURITY POLICY", SecurityPolicies,
     0, true, false, &CollectRecords<&TCatalogModel::aSecurityPolicies>, &NeedPolicyUses,
     &CreateSecurityPolicy, &DropSchemaObject, kPolicyProperties, kPolicyRules, U::None, "",
     Creates("SECURITY POLICY", "security policy", kObjectNames, false)},
    {DatabaseTrigger, "database trigger", "triggers", "DatabaseTriggers", "TRIGGER", DatabaseTriggers, 0,
     false, false, &CollectModules, &NeedModuleUses, &CreateModule, &DropDatabaseTrigger, kTriggerProperties,
     kTriggerRules, U::None, "", kNoCreate},
    {Statistic, "statistics", "statistics", "Statistics", "STATISTICS", Indexes, 8, false, false,
     &CollectTableParts, &NeedOwnTable, &CreateStatistic, &DropStatistic, kStatisticProperties,
     kStatisticRules, U::None, "", kNoCreate},
    // Before the types, tables and modules whose xml they type: a column of a collection made again is
    // untyped while it is away.
    {XmlSchemaCollection, "XML schema collection", "types", "XmlSchemaCollections", "XML SCHEMA COLLECTION",
     Types, 0, true, false, &CollectRecords<&TCatalogModel::aXmlSchemaCollections>, &NeedNothing,
     &CreateXmlSchemaCollection, &DropXmlSchemaCollection, kXmlSchemaCollectionProperties,
     kXmlSchemaCollectionRules, U::All, "",
     Creates("XML SCHEMA COLLECTION", "XML schema collection", kXmlSchemaCollectionNames, false)},
    // A catalog before the indexes it holds; an index after its table and its key index.
    {FullTextCatalog, "full-text catalog", "fulltext", "FullTextCatalogs", "FULLTEXT CATALOG", FullText, 0,
     true, false, &CollectDatabaseRecords<&TCatalogModel::aFullTextCatalogs>, &NeedNothing,
     &CreateFullTextCatalog, &DropFullTextCatalog, kFullTextCatalogProperties, kFullTextCatalogRules, U::None,
     "", kCreateFullTextCatalog},
    {FullTextIndex, "full-text index", "fulltext", "FullTextIndexes", "FULLTEXT INDEX", FullText, 1, false,
     false, &CollectFullTextIndexes, &NeedFullTextIndexUses, &CreateFullTextIndex, &DropFullTextIndex,
     kFullTextIndexProperties, kFullTextIndexRules, U::None, "", kNoCreate},
    // Before the catalogs, and so before the indexes that use it.
    {FullTextStoplist, "full-text stoplist", "fulltext", "FullTextStoplists", "FULLTEXT STOPLIST", FullText,
     -1, true, false, &CollectDatabaseRecords<&TCatalogModel::aFullTextStoplists>, &NeedNothing,
     &CreateFullTextStoplist, &DropFullTextStoplist, kStoplistProperties, kStoplistRules, U::None, "",
     kCreateFullTextStoplist},
    // Before the stoplists, and so before the indexes that use it.
    {SearchPropertyList, "search property list", "fulltext", "SearchPropertyLists", "SEARCH PROPERTY LIST",
     FullText, -2, true, false, &CollectDatabaseRecords<&TCatalogModel::aSearchPropertyLists>, &NeedNothing,
     &CreateSearchPropertyList, &DropSearchPropertyList, kSearchPropertyListProperties,
     kSearchPropertyListRules, U::None, "", kCreateSearchPropertyList},
}};

constexpr bool IsWhole() {
    for (size_t i = 0; i < g_aKinds.size(); ++i)
        if (static_cast<size_t>(g_aKinds[i].eKind) != i)
            return false;
    return true;
}
static_assert(IsWhole(), "the kinds table has a row for each kind, in the kinds' order");

// Every rule is bound to a property its kind compares.
constexpr bool AreRulesBound() {
    for (const TRecreateKind& kind : g_aKinds)
        for (const TKindRule& rule : kind.aRules)
            if (std::none_of(kind.aProperties.begin(), kind.aProperties.end(),
                             [&](const TKindProperty& property) { return property.eId == rule.eOn; }))
                return false;
    return true;
}
static_assert(AreRulesBound(), "every rule is bound to a property of its kind");

struct TSectionRow {
    eRecreateSection eSection;
    // The file's number: name order is apply order, which the manifest and apply follow. A section added
    // later between two takes a number that sorts between theirs (06a between 06 and 07), so that no file
    // of the others changes its name.
    std::string_view strNumber;
    std::string_view strName;
};

// The sections in apply order.
constexpr std::array<TSectionRow, 19> g_aSections = {{{Clean, "00", "Clean"},
                                                      {Schemas, "01", "Schemas"},
                                                      {Types, "02", "Types"},
                                                      {Sequences, "03", "Sequences"},
                                                      {Synonyms, "04", "Synonyms"},
                                                      {TableFunctions, "05", "TableFunctions"},
                                                      {Tables, "06", "Tables"},
                                                      {Data, "07", "Data"},
                                                      {Constraints, "08", "Constraints"},
                                                      {Indexes, "09", "Indexes"},
                                                      {ForeignKeys, "10", "ForeignKeys"},
                                                      {ViewsAndFunctions, "11", "ViewsAndFunctions"},
                                                      {SecurityPolicies, "11a", "SecurityPolicies"},
                                                      {Procedures, "12", "Procedures"},
                                                      {Triggers, "13", "Triggers"},
                                                      {ExtendedProperties, "14", "ExtendedProperties"},
                                                      {Permissions, "15", "Permissions"},
                                                      {FullText, "15a", "FullText"},
                                                      {DatabaseTriggers, "16", "DatabaseTriggers"}}};

constexpr bool AreSectionsWhole() {
    for (size_t i = 0; i < g_aSections.size(); ++i)
        if (static_cast<size_t>(g_aSections[i].eSection) != i)
            return false;
    return static_cast<size_t>(DatabaseTriggers) + 1 == g_aSections.size();
}
static_assert(AreSectionsWhole(), "the sections table has a row for each section, in apply order");

// The file names sort as the sections apply: "06-Tables" before "06a-..." before "07-Data".
constexpr bool AreNumbersInApplyOrder() {
    for (size_t i = 1; i < g_aSections.size(); ++i)
        if (!(g_aSections[i - 1].strNumber < g_aSections[i].strNumber) ||
            g_aSections[i].strNumber.find('-') != std::string_view::npos)
            return false;
    return true;
}
static_assert(AreNumbersInApplyOrder(), "the sections' numbers sort in apply order");

} // namespace

const std::array<TRecreateKind, MODEL_KIND_COUNT>& RecreateKinds() {
    return g_aKinds;
}

const TRecreateKind& RecreateKind(eModelKind eKind) {
    return g_aKinds[static_cast<size_t>(eKind)];
}

std::vector<std::string_view> RecreateKindWords() {
    std::vector<std::string_view> aWords;
    for (const TRecreateKind& kind : g_aKinds)
        if (std::find(aWords.begin(), aWords.end(), kind.strWord) == aWords.end())
            aWords.push_back(kind.strWord);
    return aWords;
}

namespace {

// How many of the words the CREATE word of the kind is; 0 where they do not begin with it.
size_t WordsOf(const TCreateWord& create, const std::vector<std::string>& aWords) {
    if (!aWords.empty() && !create.strAbbreviation.empty() && aWords.front() == create.strAbbreviation)
        return 1;
    size_t nWords = 0;
    for (std::string_view strRest = create.strWord; !strRest.empty(); ++nWords) {
        const std::string_view strWord = strRest.substr(0, strRest.find(' '));
        if (nWords == aWords.size() || aWords[nWords] != strWord)
            return 0;
        strRest.remove_prefix(std::min(strRest.size(), strWord.size() + 1));
    }
    return nWords;
}

} // namespace

std::optional<TCreatedKind> CreatedKind(const std::vector<std::string>& aWords) {
    for (const TRecreateKind& kind : g_aKinds)
        if (const size_t nWords = WordsOf(kind.create, aWords))
            return TCreatedKind{kind.eKind, nWords};
    return std::nullopt;
}

const TCreateWord& CreateWordOf(eModelKind eKind) {
    return RecreateKind(eKind).create;
}

std::string_view RecreateSectionName(eRecreateSection eSection) {
    return g_aSections[static_cast<size_t>(eSection)].strName;
}

std::string RecreateSectionFileName(eRecreateSection eSection) {
    const TSectionRow& section = g_aSections[static_cast<size_t>(eSection)];
    return std::string(section.strNumber) + "-" + std::string(section.strName);
}

std::string_view RecreateKindFolder(eModelKind eKind) {
    return RecreateKind(eKind).strFolder;
}
