// What a table is made of and what hangs on it: columns, indexes, foreign keys, full-text indexing.
#pragma once

#include "catalog/SQLRecBase.h"

// Columns of one table; m_strTableSchema gets no "dbo" default.
class CSQLRecColumns : public CSQLRecBase {
public:
    CSQLRecColumns();

    CString GetDefaultSQL() override;
    // Every row of the family at once, keyed by the table's object id, then its schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strTableName;
    CString m_strTableSchema;

    CString m_strNameCol;
    CString m_strNameType;
    long m_nIsUser = 0;
    long m_nMaxLen = 0;
    long m_nPrec = 0;
    long m_nScale = 0;
    long m_nIsIdent = 0;
    long m_nSeed = 0;
    long m_nIncrement = 0;
    long m_nIsNull = 0;
    long m_nIsComputed = 0;
    long m_nIsComputedPersisted = 0;
    CString m_strComputeDefinition;
    CString m_strCollation;
    CString m_strDefault;
    CString m_strRule;
};

// Columns of one index in table column order, included columns as well.
class CSQLRecIndexColumns : public CSQLRecBase {
public:
    CSQLRecIndexColumns();

    CString GetDefaultSQL() override;
    // Every row of the family at once, keyed by object id and index id.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    long m_nObjectId = 0;
    long m_nIndexId = 0;

    CString m_strName;
};

// Clustered and nonclustered indexes of all user tables, primary keys excluded.
class CSQLRecIndexes : public CSQLRecBase {
public:
    CSQLRecIndexes();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    long m_nIndexId = 0;
    long m_nTableId = 0;
    CString m_strTableName;
    CString m_strTableNameSchema;
    long m_nType = 0;
    CString m_strTypeDesc;
    long m_nIsUnique = 0;
    CString m_strDataSpaceName;
    long m_nFillfactor = 0;
};

// List: every foreign key. Detail: every foreign key of the table named by the parameters.
class CSQLRecForeignKeys : public CSQLRecBase {
public:
    CSQLRecForeignKeys();

    void SetDetail(bool bDetail) override;
    CString GetDetailSQL() override;
    CString GetListSQL() override;
    // The detail statement for that table, as GetDetailSQL sends it.
    static CString FormatDetailSQL(const CString& strSchema, const CString& strName);
    // The detail rows of every table at once, keyed by the table's object id, then its schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strFKName;
    CString m_strFKNameSchema;
    long m_nParentTableId = 0;
    CString m_strParentTableName;
    long m_nReferencedTableId = 0;
    CString m_strReferencedTableName;
    long m_nReferencedIndexId = 0;
    long m_nUpdateActions = 0;
    long m_nDeleteActions = 0;
};

// Referencing columns of one foreign key, in the parent table.
class CSQLRecForeignKeyColumnsParent : public CSQLRecBase {
public:
    CSQLRecForeignKeyColumnsParent();

    CString GetDefaultSQL() override;
    // Every row of the family at once, keyed by the key's object id, then its schema and name.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strFKName;
    CString m_strFKSchema;

    CString m_strName;
};

class CSQLRecFullTextCatalogs : public CSQLRecBase {
public:
    CSQLRecFullTextCatalogs();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strName;
    long m_nIsDefault = 0;
    long m_nIsAccentSensitivityOn = 0;
    CString m_strFileGroupName;
};

class CSQLRecFullTextCatalogIndexes : public CSQLRecBase {
public:
    CSQLRecFullTextCatalogIndexes();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    long m_nObjectId = 0;
    CString m_strNameTable;
    CString m_strNameTableSchema;
    CString m_strNameIndex;
    CString m_strNameFullTextCatalog;
    CString m_strChangeTrackingStateDesc;
    long m_nIsEnabled = 0;
};

// Columns of one table's full-text index; the two ids arrive as decimal text.
class CSQLRecFullTextCatalogIndexColumns : public CSQLRecBase {
public:
    CSQLRecFullTextCatalogIndexColumns();

    CString GetDefaultSQL() override;
    // Every row of the family at once, keyed by the table's object id.
    static CString GetPrefetchSQL();
    std::optional<TPrefetchKey> GetPrefetchKey() const override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    long m_nObjectId = 0;

    CString m_strName;
    CString m_strTypeColumnId;
    CString m_strLanguageId;
};
