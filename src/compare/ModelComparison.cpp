#include "compare/ModelComparison.h"

#include "catalog/SqlIdentifiers.h"
#include "platform/Text.h"
#include "platform/Unicode.h"
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"
#include "scripting/SqlText.h"

#include <algorithm>
#include <cctype>
#include <future>
#include <unordered_map>

namespace {

std::string YesNo(bool b) {
    return b ? "yes" : "no";
}

// A name as lines show it: its parts bare where they are regular identifiers, else in brackets.
std::string DisplayName(std::initializer_list<std::string_view> aParts) {
    std::vector<std::string> aShown;
    for (const std::string_view strPart : aParts)
        if (!strPart.empty())
            aShown.push_back(DelimitIdentifier(CString(std::string(strPart))).Str());
    return JoinText(aShown, ".");
}

// The type as a column declares it: decimal(18, 2), nvarchar(max), dbo.Phone.
std::string TypeText(const TModelDataType& type) {
    if (type.IsUserDefined())
        return DisplayName({type.strSchema, type.strName});
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

const char* Action(eModelReferentialAction eAction) {
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

using TProperties = std::vector<TObjectProperty>;

// What indexes and keys have alike.
void AddIndexProperties(const TModelIndex& index, TProperties& aProperties) {
    const TProperties aMore = {{"clustered", YesNo(index.bClustered)},
                               {"keys", KeyColumns(index.aKeys)},
                               {"fill factor", std::to_string(index.nFillFactor)},
                               {"padded", YesNo(index.bPadded)},
                               {"ignore duplicate keys", YesNo(index.bIgnoreDupKey)},
                               {"row locks", YesNo(index.bAllowRowLocks)},
                               {"page locks", YesNo(index.bAllowPageLocks)},
                               {"compression", index.strCompression},
                               {"disabled", YesNo(index.bDisabled)},
                               {"data space", index.strDataSpace},
                               {"partition columns", ColumnNames(index.aPartitionColumns)}};
    aProperties.insert(aProperties.end(), aMore.begin(), aMore.end());
}

TProperties ColumnProperties(const TModelColumn& column) {
    const std::string strIdentity =
        column.identity ? column.identity->strSeed + ", " + column.identity->strIncrement : std::string();
    return {{"type", TypeText(column.type)},
            {"collation", column.strCollation},
            {"nullable", YesNo(column.bNullable)},
            {"identity", strIdentity},
            {"identity not for replication", YesNo(column.identity && column.identity->bNotForReplication)},
            {"computed", column.computed ? column.computed->strDefinition : std::string()},
            {"persisted", YesNo(column.computed && column.computed->bPersisted)},
            {"rowguidcol", YesNo(column.bRowGuidCol)},
            {"sparse", YesNo(column.bSparse)},
            {"column set", YesNo(column.bColumnSet)}};
}

TProperties IndexProperties(const TModelIndex& index) {
    TProperties aProperties = {{"unique", YesNo(index.bUnique)},
                               {"included", ColumnNames(index.aIncluded)},
                               {"filter", index.strFilter}};
    AddIndexProperties(index, aProperties);
    return aProperties;
}

TProperties KeyProperties(const TModelIndex& index) {
    TProperties aProperties = {
        {"type", index.eKind == eModelIndexKind::PrimaryKey ? "PRIMARY KEY" : "UNIQUE"}};
    AddIndexProperties(index, aProperties);
    return aProperties;
}

TProperties ForeignKeyProperties(const TModelForeignKey& key) {
    std::vector<std::string> aColumns, aReferenced;
    for (const auto& [strColumn, strReferencedColumn] : key.aColumns) {
        aColumns.push_back(strColumn);
        aReferenced.push_back(strReferencedColumn);
    }
    return {{"columns", ColumnNames(aColumns)},
            {"references", DisplayName({key.strReferencedSchema, key.strReferencedTable})},
            {"referenced columns", ColumnNames(aReferenced)},
            {"referenced key", key.strKeyIndex},
            {"on delete", Action(key.eOnDelete)},
            {"on update", Action(key.eOnUpdate)},
            {"disabled", YesNo(key.bDisabled)},
            {"not trusted", YesNo(key.bNotTrusted)},
            {"not for replication", YesNo(key.bNotForReplication)}};
}

TProperties ModuleProperties(const TModelModule& module) {
    TProperties aProperties = {{"definition", DefinitionAsCreated(module.strDefinition)},
                               {"ANSI_NULLS", module.bAnsiNulls ? "ON" : "OFF"},
                               {"QUOTED_IDENTIFIER", module.bQuotedIdentifier ? "ON" : "OFF"},
                               {"schema bound", YesNo(module.bSchemaBound)}};
    if (module.Kind() == eModelKind::Trigger)
        aProperties.push_back({"disabled", YesNo(module.bDisabled)});
    return aProperties;
}

TProperties SequenceProperties(const TModelSequence& sequence) {
    const std::string strCache = !sequence.bCached               ? "none"
                                 : sequence.strCacheSize.empty() ? "default"
                                                                 : sequence.strCacheSize;
    return {{"type", TypeText(sequence.type)},
            {"start", sequence.strStart},
            {"increment", sequence.strIncrement},
            {"minimum", sequence.strMinimum},
            {"maximum", sequence.strMaximum},
            {"cycle", YesNo(sequence.bCycling)},
            {"cache", strCache}};
}

// Collects the objects of a model, each under the key the other model's is looked for by.
class CObjectCollector {
public:
    explicit CObjectCollector(const TCatalogModel& model) : m_model(model) {}

    std::vector<TCompareObject> Collect() {
        for (const TModelSchema& schema : m_model.aSchemas)
            if (!schema.bBuiltIn)
                Add({eModelKind::Schema, "", "", schema.strName}, &schema, {{"owner", schema.strOwner}});
        for (const TModelType& type : m_model.aTypes)
            AddType(type);
        for (const TModelSequence& sequence : m_model.aSequences)
            Add({eModelKind::Sequence, sequence.strSchema, "", sequence.strName}, &sequence,
                SequenceProperties(sequence));
        for (const TModelSynonym& synonym : m_model.aSynonyms)
            Add({eModelKind::Synonym, synonym.strSchema, "", synonym.strName}, &synonym,
                {{"base object", synonym.strBaseObject}});
        for (const TModelTable& table : m_model.aTables)
            AddTable(table);
        for (const TModelModule& module : m_model.aModules)
            Add({module.Kind(), module.strSchema,
                 module.Kind() == eModelKind::Trigger ? module.strParent : "", module.strName},
                &module, ModuleProperties(module));
        for (const TModelExtendedProperty& property : m_model.aExtendedProperties)
            AddProperty(property);
        return std::move(m_aObjects);
    }

private:
    void Add(TModelKey key, TPlanObject object, TProperties aProperties) {
        TCompareObject& added = m_aObjects.emplace_back();
        // A trigger is an object of its schema: its table is a property, not part of its name.
        added.strName = key.eKind == eModelKind::Schema ? DisplayName({key.strName})
                        : key.eKind == eModelKind::Trigger
                            ? DisplayName({key.strSchema, key.strName})
                            : DisplayName({key.strSchema, key.strTable, key.strName});
        added.strMatch = MatchKey(key);
        added.key = std::move(key);
        added.object = object;
        added.aProperties = std::move(aProperties);
    }

    static std::string MatchKey(const TModelKey& key) {
        return std::string(1, static_cast<char>('a' + static_cast<int>(key.eKind))) +
               FoldCaseUtf8(key.strSchema) + '\0' + FoldCaseUtf8(key.strTable) + '\0' +
               FoldCaseUtf8(key.strName);
    }

    void AddType(const TModelType& type) {
        TProperties aProperties;
        if (type.table)
            aProperties = {{"definition", TableTypeStatement(type, m_model)}};
        else
            aProperties = {{"type", TypeText(type.base)}, {"nullable", YesNo(type.bNullable)}};
        Add({type.Kind(), type.strSchema, "", type.strName}, &type, std::move(aProperties));
    }

    void AddTable(const TModelTable& table) {
        Add({eModelKind::Table, table.strSchema, "", table.strName}, &table,
            {{"data space", table.strDataSpace},
             {"partition columns", ColumnNames(table.aPartitionColumns)}});
        const auto part = [&](eModelKind eKind, const std::string& strName) {
            return TModelKey{eKind, table.strSchema, table.strName, strName};
        };
        for (const TModelColumn& column : table.aColumns)
            Add(part(eModelKind::Column, column.strName), TTablePart<TModelColumn>{&table, &column},
                ColumnProperties(column));
        for (const TModelIndex& index : table.aIndexes)
            if (index.eKind == eModelIndexKind::Index)
                Add(part(eModelKind::Index, index.strName), TTablePart<TModelIndex>{&table, &index},
                    IndexProperties(index));
            else
                Add(part(eModelKind::Key, index.strName), TTablePart<TModelIndex>{&table, &index},
                    KeyProperties(index));
        for (const TModelCheck& check : table.aChecks)
            Add(part(eModelKind::Check, check.strName), TTablePart<TModelCheck>{&table, &check},
                {{"column", check.strColumn},
                 {"definition", check.strDefinition},
                 {"disabled", YesNo(check.bDisabled)},
                 {"not trusted", YesNo(check.bNotTrusted)},
                 {"not for replication", YesNo(check.bNotForReplication)}});
        // A default is known by its column, which has one at most: a default SQL Server named is named anew
        // in every database.
        for (const TModelDefault& def : table.aDefaults)
            if (IsScriptedDefault(table, def)) {
                Add(part(eModelKind::Default, def.strName), TTablePart<TModelDefault>{&table, &def},
                    {{"definition", def.strDefinition}});
                m_aObjects.back().strMatch = MatchKey(part(eModelKind::Default, def.strColumn));
            }
        for (const TModelForeignKey& key : table.aForeignKeys)
            Add(part(eModelKind::ForeignKey, key.strName), TTablePart<TModelForeignKey>{&table, &key},
                ForeignKeyProperties(key));
    }

    // A property is named by what it is on: "MS_Description on table dbo.Orders.Amount", "Unit on procedure
    // dbo.pStock.@nQty".
    void AddProperty(const TModelExtendedProperty& property) {
        TModelKey key{eModelKind::Property, "", "", property.strName};
        std::string strOn = "the database";
        std::string strMatch = "database";
        if (property.target) {
            const TModelKey& target = *property.target;
            key.strSchema = target.strSchema;
            key.strTable = target.strTable.empty() ? target.strName : target.strTable;
            strOn = std::string(RecreateKind(target.eKind).strName) + " " +
                    (target.eKind == eModelKind::Schema
                         ? DisplayName({target.strName})
                         : DisplayName({target.strSchema, target.strTable, target.strName, property.strColumn,
                                        property.strParameter}));
            strMatch = MatchKey(target) + '\0' + FoldCaseUtf8(property.strColumn) + '\0' +
                       FoldCaseUtf8(property.strParameter);
        }
        Add(key, &property, {{"value", property.value.value_or("NULL")}, {"type", property.strBaseType}});
        TCompareObject& added = m_aObjects.back();
        added.strName = DisplayName({property.strName}) + " on " + strOn;
        added.strMatch += '\0' + strMatch;
    }

    const TCatalogModel& m_model;
    std::vector<TCompareObject> m_aObjects;
};

} // namespace

size_t FirstWordAt(const std::string& strText) {
    const char* pszText = strText.c_str();
    const size_t nLength = strText.size();
    size_t nPos = 0;
    while (nPos < nLength) {
        if (std::isspace(static_cast<unsigned char>(pszText[nPos])))
            ++nPos;
        else if (IsPairAt(pszText, nLength, nPos, '/', '*'))
            nPos = SkipBlockComment(pszText, nLength, nPos + 2);
        else if (IsPairAt(pszText, nLength, nPos, '-', '-'))
            nPos = SkipLineComment(pszText, nLength, nPos + 2);
        else
            break;
    }
    return nPos;
}

std::string DefinitionAsCreated(const std::string& strDefinition) {
    const char* pszText = strDefinition.c_str();
    const size_t nLength = strDefinition.size();
    const size_t nPos = FirstWordAt(strDefinition);
    const auto startsWith = [&](std::string_view strWords, size_t nAt) {
        return nLength - nAt >= strWords.size() &&
               FoldCaseUtf8(strDefinition.substr(nAt, strWords.size())) == strWords &&
               (nLength - nAt == strWords.size() ||
                std::isspace(static_cast<unsigned char>(pszText[nAt + strWords.size()])));
    };
    for (const std::string_view strWords : {"create or alter", "alter"})
        if (startsWith(strWords, nPos))
            return strDefinition.substr(0, nPos) + "CREATE" + strDefinition.substr(nPos + strWords.size());
    return strDefinition;
}

std::vector<TCompareObject> CompareObjects(const TCatalogModel& model) {
    return CObjectCollector(model).Collect();
}

TObjectIndex IndexObjects(const std::vector<TCompareObject>& aObjects) {
    TObjectIndex mapObjects;
    mapObjects.reserve(aObjects.size());
    for (const TCompareObject& object : aObjects)
        mapObjects.emplace(object.strMatch, &object);
    return mapObjects;
}

namespace {

std::vector<TModelDifference> Removed(const std::vector<TCompareObject>& aFrom, const TObjectIndex& mapTo) {
    std::vector<TModelDifference> aRemoved;
    for (const TCompareObject& from : aFrom)
        if (!mapTo.count(from.strMatch))
            aRemoved.push_back({eDiffChange::Removed, &from, nullptr, {}});
    return aRemoved;
}

} // namespace

std::vector<TModelDifference> CompareModels(const std::vector<TCompareObject>& aFrom,
                                            const TObjectIndex& mapFrom,
                                            const std::vector<TCompareObject>& aTo,
                                            const TObjectIndex& mapTo) {
    // What only FROM has is looked for on a thread of its own, beside the rest.
    std::future<std::vector<TModelDifference>> removed =
        std::async(std::launch::async, [&] { return Removed(aFrom, mapTo); });
    std::vector<TModelDifference> aDifferences;
    for (const TCompareObject& to : aTo) {
        const auto it = mapFrom.find(to.strMatch);
        if (it == mapFrom.end()) {
            aDifferences.push_back({eDiffChange::Added, nullptr, &to, {}});
            continue;
        }
        TModelDifference difference{eDiffChange::Changed, it->second, &to, {}};
        const TProperties& aOld = it->second->aProperties;
        for (size_t i = 0; i < to.aProperties.size() && i < aOld.size(); ++i)
            if (aOld[i].strValue != to.aProperties[i].strValue)
                difference.aChanges.push_back(
                    {std::string(to.aProperties[i].strName), aOld[i].strValue, to.aProperties[i].strValue});
        if (!difference.aChanges.empty())
            aDifferences.push_back(std::move(difference));
    }
    for (TModelDifference& difference : removed.get())
        aDifferences.push_back(std::move(difference));
    return aDifferences;
}
