#include "compare/DriftCheck.h"

#include "backend/Snapshot.h"
#include "model/ModelError.h"
#include "platform/Exceptions.h"
#include "platform/Unicode.h"
#include "recreate/DdlText.h"
#include "recreate/KindProperties.h"
#include "recreate/RecreateKinds.h"

namespace {

// The same expression serves the read of every hash and the script's check of one: over the columns in
// order, each with its type as declared, as XML text.
std::string ColumnsHash(const std::string& strObjectId) {
    return "HASHBYTES('SHA2_256', CAST((SELECT c.name, TYPE_NAME(c.user_type_id) AS type_name, c.max_length, "
           "c.precision, c.scale, c.is_nullable, c.collation_name, c.is_identity, c.is_computed FROM "
           "sys.columns c WHERE c.object_id = " +
           strObjectId + " ORDER BY c.column_id FOR XML PATH('c')) AS nvarchar(max)))";
}

std::string ModuleHash(const std::string& strObjectId) {
    return "HASHBYTES('SHA2_256', (SELECT m.definition FROM sys.sql_modules m WHERE m.object_id = " +
           strObjectId + "))";
}

// Its own alias, as the read of every hash names the outer sys.types t: an inner t would compare each type
// with itself.
std::string AliasTypeHash(const std::string& strTypeId) {
    return "HASHBYTES('SHA2_256', CAST((SELECT TYPE_NAME(a.system_type_id) AS base_type, a.max_length, "
           "a.precision, a.scale, a.is_nullable FROM sys.types a WHERE a.user_type_id = " +
           strTypeId + " FOR XML PATH('t')) AS nvarchar(max)))";
}

std::string TableTypeHash(const std::string& strTypeId) {
    return ColumnsHash(
        "(SELECT tt.type_table_object_id FROM sys.table_types tt WHERE tt.user_type_id = " + strTypeId + ")");
}

std::string Folded(const std::string& str) {
    return FoldCaseUtf8(str);
}

bool IsType(eModelKind eKind) {
    return eKind == eModelKind::AliasType || eKind == eModelKind::TableType;
}

std::string KeyOf(bool bType, const std::string& strSchema, const std::string& strName) {
    return (bType ? "t" : "o") + Folded(strSchema) + '\0' + Folded(strName);
}

// The id sys.objects knows the object by, as the read of every hash takes it. Not OBJECT_ID: a server may
// answer it for a trigger with an id that neither sys.objects nor sys.sql_modules has.
std::string ObjectId(const TModelKey& key) {
    return "(SELECT o.object_id FROM sys.objects o WHERE o.schema_id = SCHEMA_ID(" +
           UnicodeLiteral(key.strSchema) + ") AND o.name = " + UnicodeLiteral(key.strName) + ")";
}

// The object's hash as the target has it now; NULL where it has no such object.
std::string HashExpression(const TModelKey& key) {
    const std::string strTypeName = UnicodeLiteral(QuoteName(key.strSchema, key.strName));
    switch (key.eKind) {
    case eModelKind::Table:
        return ColumnsHash(ObjectId(key));
    case eModelKind::AliasType:
        return AliasTypeHash("TYPE_ID(" + strTypeName + ")");
    case eModelKind::TableType:
        return TableTypeHash("TYPE_ID(" + strTypeName + ")");
    default:
        return ModuleHash(ObjectId(key));
    }
}

} // namespace

bool IsHashed(eModelKind eKind) {
    switch (eKind) {
    case eModelKind::Table:
    case eModelKind::AliasType:
    case eModelKind::TableType:
    case eModelKind::View:
    case eModelKind::Function:
    case eModelKind::Procedure:
    case eModelKind::Trigger:
        return true;
    default:
        return false;
    }
}

std::string HashKey(const TModelKey& key) {
    return KeyOf(IsType(key.eKind), key.strSchema, key.strName);
}

const std::string& ObjectHashesStatement() {
    static const std::string strSql =
        "SELECT CAST(s.name AS nvarchar(128)) AS schema_name, CAST(o.name AS nvarchar(128)) AS name, 0 AS "
        "is_type, CASE WHEN o.type = 'U' THEN " +
        ColumnsHash("o.object_id") + " ELSE " + ModuleHash("o.object_id") +
        " END AS hash FROM sys.objects o JOIN sys.schemas s ON s.schema_id = o.schema_id WHERE o.type IN "
        "('U', "
        "'V', 'P', 'FN', 'IF', 'TF', 'TR') AND o.is_ms_shipped = 0 UNION ALL SELECT CAST(s.name AS "
        "nvarchar(128)), CAST(t.name AS nvarchar(128)), 1, CASE WHEN t.is_table_type = 1 THEN " +
        TableTypeHash("t.user_type_id") + " ELSE " + AliasTypeHash("t.user_type_id") +
        " END FROM sys.types t JOIN sys.schemas s ON s.schema_id = t.schema_id WHERE t.is_user_defined = 1";
    return strSql;
}

std::optional<TObjectHashes> ReadObjectHashes(CDbConnection& db) {
    const std::string& strSql = ObjectHashesStatement();
    if (const CCatalogSnapshot* pSnapshot = db.GetSnapshot(); pSnapshot && !pSnapshot->Find(strSql))
        return std::nullopt;
    TObjectHashes hashes;
    try {
        const std::unique_ptr<CDbResult> pResult = db.Execute(strSql, true);
        while (const std::optional<TDbRow> row = pResult->Fetch())
            if ((*row)[3])
                hashes.emplace(KeyOf(*(*row)[2] == "1", std::string(*(*row)[0]), std::string(*(*row)[1])),
                               std::string(*(*row)[3]));
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::ReadCatalog, "object hashes", e->GetErrorText().Str(), strSql);
    }
    return hashes;
}

TStatement DriftCheck(const std::vector<TDriftObject>& aObjects) {
    std::string str = "DECLARE @strMoved nvarchar(max) = N'';";
    for (const TDriftObject& object : aObjects) {
        const std::string strShown = std::string(RecreateKind(object.key.eKind).strName) + " " +
                                     DisplayName({object.key.strSchema, object.key.strName});
        str += LineEnd() + "IF ISNULL(" + HashExpression(object.key) + ", 0x) <> 0x" +
               object.hash.value_or("") + " SET @strMoved += " + UnicodeLiteral(", " + strShown) + ";";
    }
    str +=
        LineEnd() +
        "IF @strMoved <> N'' BEGIN SET @strMoved = N'The database is not the one this migration was written "
        "for; changed since:' + STUFF(@strMoved, 1, 1, N''); THROW 50002, @strMoved, 1; END;";
    return {std::move(str), eBatchPlace::Begins};
}
