// Object lists and one-object details: module objects, user types, keys, checks, defaults, tables, schemas.
#pragma once

#include "catalog/SQLRecBase.h"

// Objects whose text lives in sys.sql_modules; the subclass names the sys.objects type code.
class CSQLRecModuleObjects : public CSQLRecBase {
public:
    CSQLRecModuleObjects();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    // The detail rows of every object at once, keyed by object id, then the trimmed type code, schema and
    // name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    virtual CString GetObjectTypeCode() const = 0;

    CString m_strName;
    CString m_strSchemaName;
    CString m_strDefinition;
    long m_nUsesAnsiNulls = 0;
    long m_nUsesQuotedIdentifier = 0;
};

class CSQLRecViews : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "V"; }
};

class CSQLRecProcedures : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "P"; }
};

class CSQLRecTriggers : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "TR"; }
};

// Scalar functions only.
class CSQLRecFunctions : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "FN"; }
};

// Bound default objects (CREATE DEFAULT), not default constraints.
class CSQLRecDefaults : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "D"; }
};

class CSQLRecRules : public CSQLRecModuleObjects {
public:
    CString GetObjectTypeCode() const override { return "R"; }
};

class CSQLRecUserTypes : public CSQLRecBase {
public:
    CSQLRecUserTypes();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    // The detail rows of every object at once, keyed by object id, then schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strUserName;
    CString m_strSchemaName;
    CString m_strSystemName;
    long m_nMaxLen = 0;
    long m_nPrecision = 0;
    long m_nScale = 0;
    long m_nIsNull = 0;
    CString m_strDefault;
    CString m_strRule;
};

class CSQLRecPKeys : public CSQLRecBase {
public:
    CSQLRecPKeys();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    // The detail rows of every object at once, keyed by object id, then schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    CString m_strNameSchema;
    long m_nIdTable = 0;
    CString m_strTableName;
    long m_nIdInd = 0;
    long m_nFillFactor = 0;
    long m_nClastered = 0;
};

class CSQLRecChecks : public CSQLRecBase {
public:
    CSQLRecChecks();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    // The detail rows of every object at once, keyed by object id, then schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    CString m_strNameSchema;
    CString m_strNameTable;
    CString m_strNameTableSchema;
    CString m_strDefinition;
};

class CSQLRecDriDefaults : public CSQLRecBase {
public:
    CSQLRecDriDefaults();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    CString m_strNameSchema;
    CString m_strTableName;
    CString m_strColumnName;
    CString m_strDefinition;
};

class CSQLRecTables : public CSQLRecBase {
public:
    CSQLRecTables();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    long m_nObjectId = 0;
    CString m_strSchemaName;
    long m_nSchemaId = 0;
};

// Tables that own foreign keys, each once.
class CSQLRecForeignKeysTables : public CSQLRecBase {
public:
    CSQLRecForeignKeysTables();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    CString m_strNameSchema;
};

// User schemas; m_strNameSchema is never bound, so schemas are scripted with an empty schema argument.
class CSQLRecSchemas : public CSQLRecBase {
public:
    CSQLRecSchemas();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    CString m_strNameSchema;
};
