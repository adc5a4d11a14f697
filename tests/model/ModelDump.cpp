#include "model/ModelDump.h"

#include <array>
#include <sstream>

namespace {

std::string Shown(const std::string& str) {
    std::string strOut;
    for (const char ch : str)
        strOut += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch);
    return strOut;
}

std::string Joined(const std::vector<std::string>& aItems) {
    std::string str;
    for (const std::string& strItem : aItems)
        str += (str.empty() ? "" : ",") + strItem;
    return str;
}

std::string TypeText(const TModelDataType& type) {
    return (type.IsUserDefined() ? type.strSchema + "." : "") + type.strName + "/" + type.strSystemName +
           "(" + std::to_string(type.nMaxLength) + "," + std::to_string(type.nPrecision) + "," +
           std::to_string(type.nScale) + ")";
}

std::string KeyText(const TModelKey& key) {
    static constexpr std::array<const char*, MODEL_KIND_COUNT> apszKinds = {
        "schema",      "alias_type",  "table_type", "sequence", "synonym",
        "table",       "column",      "key",        "check",    "default",
        "index",       "foreign_key", "view",       "function", "procedure",
        "trigger",     "property",    "user",       "role",     "application_role",
        "role_member", "owner",       "permission"};
    return std::string(apszKinds[static_cast<size_t>(key.eKind)]) + ":" + key.strSchema + "." + key.strTable +
           "." + key.strName;
}

std::string KeyText(const std::optional<TModelKey>& key) {
    return key ? KeyText(*key) : "none";
}

const char* IndexKindText(eModelIndexKind eKind) {
    return eKind == eModelIndexKind::PrimaryKey         ? "primary_key"
           : eKind == eModelIndexKind::UniqueConstraint ? "unique_constraint"
                                                        : "index";
}

const char* ActionText(eModelReferentialAction eAction) {
    static constexpr std::array<const char*, 4> apszActions = {"no_action", "cascade", "set_null",
                                                               "set_default"};
    return apszActions[static_cast<size_t>(eAction)];
}

class CDump {
public:
    std::string Take() { return m_out.str(); }

    void Model(const TCatalogModel& model) {
        const TModelFeatures& f = model.features;
        m_out << "database collation=" << model.strCollation << " data_space=" << model.strDefaultDataSpace
              << " sequences=" << f.bSequences << " synonyms=" << f.bSynonyms
              << " table_types=" << f.bTableTypes << " extended_properties=" << f.bExtendedProperties
              << " expression_dependencies=" << f.bExpressionDependencies << "\n";
        for (const TModelSchema& schema : model.aSchemas)
            m_out << "schema " << schema.strName << " owner=" << schema.strOwner
                  << " built_in=" << schema.bBuiltIn << "\n";
        for (const TModelType& type : model.aTypes)
            Type(type);
        for (const TModelSequence& sequence : model.aSequences)
            Sequence(sequence);
        for (const TModelSynonym& synonym : model.aSynonyms)
            m_out << "synonym " << synonym.strSchema << "." << synonym.strName
                  << " base=" << synonym.strBaseObject << "\n";
        for (const TModelTable& table : model.aTables) {
            m_out << "table " << table.strSchema << "." << table.strName;
            TableBody(table);
        }
        for (const TModelModule& module : model.aModules)
            Module(module);
        Security(model);
        for (const TModelExtendedProperty& property : model.aExtendedProperties)
            m_out << "property on=" << KeyText(property.target) << " column=" << property.strColumn
                  << " parameter=" << property.strParameter << " name=" << property.strName
                  << " value=" << (property.value ? Shown(*property.value) : "NULL")
                  << " base_type=" << property.strBaseType << "\n";
        for (const TModelReference& reference : model.aReferences)
            m_out << "reference from=" << KeyText(reference.from) << " column=" << reference.strColumn
                  << " to=" << reference.strSchema << "." << reference.strName
                  << " resolved=" << KeyText(reference.resolved) << "\n";
    }

private:
    void Type(const TModelType& type) {
        m_out << "type " << type.strSchema << "." << type.strName;
        if (type.table) {
            m_out << " table";
            TableBody(*type.table);
            return;
        }
        m_out << " base=" << TypeText(type.base) << " nullable=" << type.bNullable << "\n";
    }

    void Sequence(const TModelSequence& sequence) {
        m_out << "sequence " << sequence.strSchema << "." << sequence.strName
              << " type=" << TypeText(sequence.type) << " start=" << sequence.strStart
              << " increment=" << sequence.strIncrement << " minimum=" << sequence.strMinimum
              << " maximum=" << sequence.strMaximum << " cycling=" << sequence.bCycling
              << " cached=" << sequence.bCached << " cache_size=" << sequence.strCacheSize << "\n";
    }

    // After the table's name: its own fields, then a line for each part.
    void TableBody(const TModelTable& table) {
        m_out << " data_space=" << table.strDataSpace
              << " partition_columns=" << Joined(table.aPartitionColumns) << "\n";
        for (const TModelColumn& column : table.aColumns)
            Column(column);
        for (const TModelIndex& index : table.aIndexes)
            Index(index);
        for (const TModelCheck& check : table.aChecks)
            m_out << "  check " << check.strName << " column=" << check.strColumn
                  << " disabled=" << check.bDisabled << " not_trusted=" << check.bNotTrusted
                  << " not_for_replication=" << check.bNotForReplication
                  << " definition=" << Shown(check.strDefinition) << "\n";
        for (const TModelDefault& def : table.aDefaults)
            m_out << "  default " << def.strName << " column=" << def.strColumn
                  << " definition=" << Shown(def.strDefinition) << "\n";
        for (const TModelForeignKey& key : table.aForeignKeys)
            ForeignKey(key);
    }

    void Column(const TModelColumn& column) {
        m_out << "  column " << column.strName << " type=" << TypeText(column.type)
              << " collation=" << column.strCollation << " nullable=" << column.bNullable
              << " rowguidcol=" << column.bRowGuidCol << " sparse=" << column.bSparse
              << " column_set=" << column.bColumnSet;
        if (column.identity)
            m_out << " identity=" << column.identity->strSeed << "," << column.identity->strIncrement
                  << " not_for_replication=" << column.identity->bNotForReplication;
        if (column.computed)
            m_out << " computed=" << Shown(column.computed->strDefinition)
                  << " persisted=" << column.computed->bPersisted;
        m_out << "\n";
    }

    void Index(const TModelIndex& index) {
        std::vector<std::string> aKeys;
        for (const TModelIndexColumn& key : index.aKeys)
            aKeys.push_back(key.strColumn + (key.bDescending ? " DESC" : ""));
        m_out << "  index " << index.strName << " kind=" << IndexKindText(index.eKind)
              << " clustered=" << index.bClustered << " unique=" << index.bUnique << " keys=" << Joined(aKeys)
              << " included=" << Joined(index.aIncluded)
              << " partition_columns=" << Joined(index.aPartitionColumns) << " filter=" << index.strFilter
              << " fill_factor=" << index.nFillFactor << " padded=" << index.bPadded
              << " ignore_dup_key=" << index.bIgnoreDupKey << " row_locks=" << index.bAllowRowLocks
              << " page_locks=" << index.bAllowPageLocks << " disabled=" << index.bDisabled
              << " compression=" << index.strCompression << " data_space=" << index.strDataSpace << "\n";
    }

    void ForeignKey(const TModelForeignKey& key) {
        std::vector<std::string> aColumns;
        for (const auto& [strColumn, strReferenced] : key.aColumns)
            aColumns.push_back(strColumn + ">" + strReferenced);
        m_out << "  foreign_key " << key.strName << " references=" << key.strReferencedSchema << "."
              << key.strReferencedTable << " key=" << key.strKeyIndex << " columns=" << Joined(aColumns)
              << " on_delete=" << ActionText(key.eOnDelete) << " on_update=" << ActionText(key.eOnUpdate)
              << " disabled=" << key.bDisabled << " not_trusted=" << key.bNotTrusted
              << " not_for_replication=" << key.bNotForReplication << "\n";
    }

    void Module(const TModelModule& module) {
        m_out << "module " << module.strSchema << "." << module.strName << " type=" << module.strType
              << " parent=" << module.strParent << " ansi_nulls=" << module.bAnsiNulls
              << " quoted_identifier=" << module.bQuotedIdentifier << " schema_bound=" << module.bSchemaBound
              << " disabled=" << module.bDisabled << " definition=" << Shown(module.strDefinition) << "\n";
    }

    void Security(const TCatalogModel& model) {
        for (const TModelPrincipal& principal : model.aPrincipals)
            m_out << "principal " << principal.strName << " type=" << principal.strType
                  << " default_schema=" << principal.strDefaultSchema << " owner=" << principal.strOwner
                  << " login=" << principal.strLogin << " authentication=" << principal.nAuthentication
                  << " built_in=" << principal.bBuiltIn << "\n";
        for (const TModelRoleMember& member : model.aRoleMembers)
            m_out << "role_member " << member.strRole << " member=" << member.strMember << "\n";
        for (const TModelOwner& owner : model.aOwners)
            m_out << "owner " << KeyText(owner.object) << " owner=" << owner.strOwner << "\n";
        for (const TModelPermission& permission : model.aPermissions)
            m_out << "permission " << permission.strPermission << " state=" << permission.cState
                  << " grantee=" << permission.strGrantee << " class=" << permission.strClass
                  << " securable=" << permission.strSecurable << " schema=" << permission.strSchema
                  << " name=" << permission.strName << " column=" << permission.strColumn
                  << " on=" << KeyText(permission.securable) << "\n";
    }

    std::ostringstream m_out;
};

} // namespace

std::string DumpModel(const TCatalogModel& model) {
    CDump dump;
    dump.Model(model);
    return dump.Take();
}
