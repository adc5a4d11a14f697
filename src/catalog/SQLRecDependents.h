// Objects that belong to one table, and two probes of one named object.
#pragma once

#include "catalog/SQLRecBase.h"

// (name, schema) of the objects of one kind that belong to the table named by the parameters.
class CSQLRecChilds : public CSQLRecBase {
public:
    CSQLRecChilds();

    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strChildName;
    CString m_strChildNameSchema;

protected:
    // The template with schema ("dbo" when empty) and name placed in its OBJECT_ID('%s.%s').
    CString FormatChildsSQL(const char* pszTemplate);
};

class CSQLRecChildsPrimary : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

class CSQLRecChildsForeign : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

class CSQLRecChildsIndexs : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

class CSQLRecChildsChecks : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

// Bound default objects bound to the table's columns.
class CSQLRecChildsDef : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

class CSQLRecChildsDefDri : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

// Rules bound to the table's columns.
class CSQLRecChildsRules : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

// Triggers whose parent is the table.
class CSQLRecChildsTrig : public CSQLRecChilds {
public:
    CString GetDefaultSQL() override;
};

// The sys.objects type code, two characters wide ("U ", "PK"); the schema gets no "dbo" default.
class CSQLRecGetObjectType : public CSQLRecBase {
public:
    CSQLRecGetObjectType();

    CString GetDefaultSQL() override;
    void DoFieldExchange(CFieldExchange* pFX) override;

    CString m_strType;
};

// Opens a view or table with no rows; the column count and names come from the result description.
class CSQLRecViewCountFields : public CSQLRecBase {
public:
    CString GetDefaultSQL() override;
};
