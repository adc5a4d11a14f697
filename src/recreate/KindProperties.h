// The properties of a kind's objects that a comparison compares: each known by an enum, which rules are
// bound to, and shown by a label; two objects differ in a property when its values, as lines show them,
// differ. The kinds table lists each kind's.
#pragma once

#include "recreate/RecreatePlan.h"

#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

enum class eProperty {
    Owner,
    Type,
    Nullable,
    Definition,
    Start,
    Increment,
    Minimum,
    Maximum,
    Cycle,
    Cache,
    BaseObject,
    DataSpace,
    PartitionColumns,
    Collation,
    Identity,
    IdentityNotForReplication,
    Computed,
    Persisted,
    RowGuidCol,
    Sparse,
    ColumnSet,
    KeyType,
    Unique,
    Included,
    Filter,
    Clustered,
    Keys,
    FillFactor,
    Padded,
    IgnoreDuplicateKeys,
    RowLocks,
    PageLocks,
    Compression,
    Disabled,
    Column,
    NotTrusted,
    NotForReplication,
    Columns,
    References,
    ReferencedColumns,
    ReferencedKey,
    OnDelete,
    OnUpdate,
    AnsiNulls,
    QuotedIdentifier,
    SchemaBound,
    Value,
    ValueType,
    FilegroupType,
    Default,
    Files,
    RangeSide,
    Boundaries,
    Function,
    Filegroups,
    LobDataSpace,
    FilestreamDataSpace,
    MemoryOptimized,
    Durability,
    Graph,
    Period,
    Generated,
    Hidden,
    Filestream,
    Hash,
    BucketCount,
    HistoryTable,
    Retention,
    Connections,
    MaskingFunction,
    TriggerOrder,
    State,
    Predicates,
    NoRecompute,
    Incremental,
    Columnstore,
    CompressionDelay,
    Order,
    ArchivePartitions,
    Tessellation,
    BoundingBox,
    Grids,
    CellsPerObject,
    XmlSchemas,
    XmlIndex,
    UsingXmlIndex,
    AccentSensitivity,
    KeyIndex,
    Catalog,
    ChangeTracking,
    Stoplist,
    IndexedColumns, // a full-text index's, one a line: shown as a text that changed
    Stopwords,
    SearchProperties, // a search property list's, one a line: shown as a text that changed
    PropertyList,
};

struct TKindProperty {
    eProperty eId;
    std::string_view strLabel; // as difference lines and diff --json name it: "fill factor"
    // The value as compared and shown: "decimal(18, 2)", "yes", "(none)" shown for empty.
    std::string (*pfnValue)(const TPlanObject& object, const TCatalogModel& model);
    // True where the records hold the same value, found without making its text; null where only the text
    // tells.
    bool (*pfnSame)(const TPlanObject& from, const TPlanObject& to);
};

// The record an object of a comparison stands for: the model's record, or a table's part.
template <typename T> const T& RecordOf(const TPlanObject& object) {
    if constexpr (std::is_constructible_v<TPlanObject, TTablePart<T>>)
        return *std::get<TTablePart<T>>(object).pPart;
    else
        return *std::get<const T*>(object);
}

namespace kind_property {

template <typename> struct TMember;
template <typename TRecord, typename TValue> struct TMember<TValue TRecord::*> { using TOwner = TRecord; };

} // namespace kind_property

// A property held by one member of the record, shown by pfnShow: the same member is the same value.
template <auto pMember, auto pfnShow>
constexpr TKindProperty MemberProperty(eProperty eId, std::string_view strLabel) {
    using TRecord = typename kind_property::TMember<decltype(pMember)>::TOwner;
    return {eId, strLabel,
            [](const TPlanObject& object, const TCatalogModel&) -> std::string {
                return pfnShow(RecordOf<TRecord>(object).*pMember);
            },
            [](const TPlanObject& from, const TPlanObject& to) {
                return RecordOf<TRecord>(from).*pMember == RecordOf<TRecord>(to).*pMember;
            }};
}

// A property made of the whole record, or of the record in its model, by pfnShow: only its text tells.
template <typename TRecord, auto pfnShow>
constexpr TKindProperty RecordProperty(eProperty eId, std::string_view strLabel) {
    return {eId, strLabel,
            [](const TPlanObject& object, const TCatalogModel& model) -> std::string {
                if constexpr (std::is_invocable_v<decltype(pfnShow), const TRecord&, const TCatalogModel&>)
                    return pfnShow(RecordOf<TRecord>(object), model);
                else
                    return pfnShow(RecordOf<TRecord>(object));
            },
            nullptr};
}

// Values as lines show them.
std::string YesNo(bool b);
std::string OnOff(bool b);
const std::string& AsIs(const std::string& str);
// A name as lines show it: its parts bare where they are regular identifiers, else in brackets; empty parts
// left out.
std::string DisplayName(std::initializer_list<std::string_view> aParts);
// The type as a column declares it: decimal(18, 2), nvarchar(max), dbo.Phone.
std::string TypeText(const TModelDataType& type);
std::string ColumnNames(const std::vector<std::string>& aColumns);
std::string KeyColumns(const std::vector<TModelIndexColumn>& aKeys);
std::string ReferentialAction(eModelReferentialAction eAction);
std::string IdentityText(const std::optional<TModelIdentity>& identity);
std::string IdentityNotForReplicationText(const std::optional<TModelIdentity>& identity);
std::string ComputedText(const std::optional<TModelComputed>& computed);
std::string PersistedText(const std::optional<TModelComputed>& computed);
std::string KeyTypeText(eModelIndexKind eKind);
// A foreign key's (column, referenced column) pairs.
using TColumnPairs = std::vector<std::pair<std::string, std::string>>;
std::string ForeignKeyColumns(const TColumnPairs& aPairs);
std::string ForeignKeyReferences(const TModelForeignKey& key);
std::string ForeignKeyReferencedColumns(const TColumnPairs& aPairs);
std::string SequenceCache(const TModelSequence& sequence);
std::string TableTypeDefinition(const TModelType& type, const TCatalogModel& model);
std::string PropertyValueText(const std::optional<std::string>& value);
// The storage and the kinds of tables beside the ordinary.
std::string FilegroupTypeText(const std::string& strType);
std::string FilesText(const std::vector<TModelFile>& aFiles);
std::string RangeSideText(bool bRight);
std::string BoundariesText(const std::vector<TModelBoundary>& aBoundaries);
std::string DurabilityText(bool bSchemaOnly);
std::string GraphText(eModelGraph eGraph);
std::string PeriodText(const std::optional<TModelPeriod>& period);
std::string GeneratedText(eModelGenerated eGenerated);
std::string HistoryTableText(const TModelVersioning& versioning);
std::string RetentionText(const std::string& strRetention);
std::string ConnectionsText(const std::vector<TModelConnection>& aConnections);
std::string OnDeleteText(bool bCascade);
// "first UPDATE, last INSERT"
std::string TriggerOrderText(const std::vector<TModelTriggerOrder>& aOrder);
// Columnstore and spatial indexes: "1, 2, 5"; a spatial index's scheme, bounding box, grid levels and cells
// per object, empty for another index.
std::string PartitionNumbersText(const std::vector<int>& aPartitions);
std::string TessellationSchemeText(const TModelIndex& index);
std::string BoundingBoxText(const TModelIndex& index);
std::string GridsText(const TModelIndex& index);
std::string CellsPerObjectText(const TModelIndex& index);
// A full-text index's stoplist: OFF, SYSTEM or the stoplist's name; its columns one a line, "Body TYPE
// COLUMN Ext LANGUAGE 0".
std::string FullTextStoplistText(const TModelFullTextIndex& index);
std::string FullTextColumnsText(const std::vector<TModelFullTextColumn>& aColumns);
// The predicates as CREATE SECURITY POLICY adds them, one a line.
std::string PredicatesText(const std::vector<TModelSecurityPredicate>& aPredicates);
// "a (1033), the (1033), le (1036)"
std::string StopwordsText(const std::vector<TModelStopword>& aWords);
// One a line: "Author (F29F85E0-4FF9-1068-AB91-08002B27B3D9, 4)", "Title (F29F85E0-..., 2, N'The title')".
std::string SearchPropertiesText(const std::vector<TModelSearchProperty>& aProperties);
