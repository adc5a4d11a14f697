#include "CatalogTestSupport.h"

#include "catalog/SQLRecDependents.h"

#include <utility>

namespace {

using TChildList = std::vector<std::pair<std::string, std::string>>;

// The dependents of table Orders in the given schema; an empty schema must become "dbo".
template <class TRec>
TRecordsetCase ChildsCase(const char* pszName, const char* pszTable, const char* pszSchema,
                          std::string strSQL, TChildList aExpected) {
    return RecordsetCase<TRec>(
        pszName,
        [=](TRec& rs) {
            rs.m_strParamName = pszTable;
            rs.m_strParamSchema = pszSchema;
        },
        std::move(strSQL), 2,
        [=](TRec& rs) {
            EXPECT_FALSE(rs.m_strParamSchema.IsEmpty());
            TChildList aFound;
            for (; !rs.IsEOF(); rs.MoveNext())
                aFound.emplace_back(rs.m_strChildName.Str(), rs.m_strChildNameSchema.Str());
            EXPECT_EQ(aFound, aExpected);
        });
}

CString ColumnNames(CRecordset& rs) {
    CString strNames;
    for (short i = 0; i < rs.GetODBCFieldCount(); ++i) {
        CODBCFieldInfo info;
        rs.GetODBCFieldInfo(i, info);
        strNames += (i ? "," : "") + info.m_strName;
    }
    return strNames;
}

} // namespace

TEST(DependentRecordsetsTest, ChildQueriesFindTheObjectsOfOneTable) {
    CSnapshotHost host("dependents.json");
    const std::vector<TRecordsetCase> aCases = {
        ChildsCase<CSQLRecChildsPrimary>(
            "primary key", "Orders", "",
            "SELECT PK.name AS ChildName, SCHEMA_NAME( PK.schema_id ) AS ChildNameSchema FROM "
            "sys.key_constraints PK WHERE PK.type = 'PK' AND PK.parent_object_id = OBJECT_ID('dbo.Orders') ",
            {{"PK_Orders", "dbo"}}),
        ChildsCase<CSQLRecChildsPrimary>(
            "no primary key", "Heap", "",
            "SELECT PK.name AS ChildName, SCHEMA_NAME( PK.schema_id ) AS ChildNameSchema FROM "
            "sys.key_constraints PK WHERE PK.type = 'PK' AND PK.parent_object_id = OBJECT_ID('dbo.Heap') ",
            {}),
        ChildsCase<CSQLRecChildsForeign>(
            "foreign keys", "Orders", "sales",
            "SELECT\tFK.name AS ChildName, SCHEMA_NAME( FK.schema_id ) AS ChildNameSchema FROM "
            "sys.foreign_keys FK  WHERE FK.parent_object_id = OBJECT_ID('sales.Orders') ",
            {{"FK_Orders_Customers", "sales"}, {"FK_Orders_Shops", "sales"}}),
        ChildsCase<CSQLRecChildsIndexs>(
            "indexes", "Orders", "dbo",
            "SELECT I.name AS ChildName, SCHEMA_NAME( O.schema_id ) AS ChildNameSchema FROM sys.indexes I "
            "INNER JOIN sys.objects O ON I.object_id = O.object_id WHERE\tI.is_primary_key = 0 AND "
            "(I.type_desc = 'CLUSTERED' OR I.type_desc = 'NONCLUSTERED' ) \t\tAND O.type = 'U' AND "
            "I.object_id = OBJECT_ID('dbo.Orders') ",
            {{"IX_Orders_Date", "dbo"}}),
        ChildsCase<CSQLRecChildsChecks>(
            "checks", "Orders", "",
            "SELECT CH.name AS ChildName, SCHEMA_NAME( CH.schema_id ) AS ChildNameSchema FROM "
            "sys.check_constraints CH WHERE CH.parent_object_id = OBJECT_ID('dbo.Orders') ",
            {{"CK_Qty", "dbo"}, {"CK_Price", "dbo"}, {"CK_Dates", "audit"}}),
        ChildsCase<CSQLRecChildsDef>(
            "bound defaults, through the columns", "Orders", "",
            "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema FROM sys.objects "
            "AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'D' "
            "AND OBJ.object_id IN (SELECT COL.default_object_id FROM sys.columns AS COL WHERE COL.object_id "
            "= OBJECT_ID('dbo.Orders')) ",
            {{"dfZero", "dbo"}}),
        ChildsCase<CSQLRecChildsDefDri>(
            "default constraints", "Orders", "",
            "SELECT DEF.name AS ChildName, SCHEMA_NAME( DEF.schema_id ) AS ChildNameSchema  FROM "
            "sys.default_constraints AS DEF WHERE DEF.parent_object_id = OBJECT_ID('dbo.Orders')",
            {{"DF_Orders_Qty", "dbo"}}),
        ChildsCase<CSQLRecChildsRules>(
            "rules, through the columns", "Orders", "",
            "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema  FROM sys.objects "
            "AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'R' "
            "AND OBJ.object_id IN (SELECT COL.rule_object_id FROM sys.columns AS COL WHERE COL.object_id = "
            "OBJECT_ID('dbo.Orders')) ",
            {{"rPositive", "dbo"}}),
        ChildsCase<CSQLRecChildsTrig>(
            "triggers, by parent", "Orders", "sales",
            "SELECT OBJ.name AS ChildName, SCHEMA_NAME( OBJ.schema_id ) AS ChildNameSchema  FROM sys.objects "
            "AS OBJ INNER JOIN sys.sql_modules AS MOD ON OBJ.object_id = MOD.object_id WHERE OBJ.type = 'TR' "
            "AND OBJ.parent_object_id = OBJECT_ID('sales.Orders') ",
            {{"trOrders", "sales"}}),
        RecordsetCase<CSQLRecGetObjectType>(
            "type of a table keeps its blank",
            [](CSQLRecGetObjectType& rs) {
                rs.m_strParamName = "Orders";
                rs.m_strParamSchema = "dbo";
            },
            "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.Orders') ", 1,
            [](CSQLRecGetObjectType& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strType, "U ");
            }),
        RecordsetCase<CSQLRecGetObjectType>(
            "type of a primary key",
            [](CSQLRecGetObjectType& rs) {
                rs.m_strParamName = "PK_Orders";
                rs.m_strParamSchema = "dbo";
            },
            "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('dbo.PK_Orders') ", 1,
            [](CSQLRecGetObjectType& rs) {
                ASSERT_FALSE(rs.IsEOF());
                EXPECT_EQ(rs.m_strType, "PK");
            }),
        RecordsetCase<CSQLRecGetObjectType>(
            "type probe puts no dbo for an empty schema",
            [](CSQLRecGetObjectType& rs) { rs.m_strParamName = "Orders"; },
            "SELECT O.type FROM sys.objects O WHERE O.object_id = OBJECT_ID('.Orders') ", 1,
            [](CSQLRecGetObjectType& rs) {
                EXPECT_TRUE(rs.IsEOF());
                EXPECT_TRUE(rs.m_strParamSchema.IsEmpty());
            }),
        RecordsetCase<CSQLRecViewCountFields>(
            "view columns from the result description, empty schema",
            [](CSQLRecViewCountFields& rs) { rs.m_strParamName = "vTotals"; },
            "SELECT * FROM dbo.vTotals WHERE 1=0", 0,
            [](CSQLRecViewCountFields& rs) {
                EXPECT_TRUE(rs.IsEOF());
                EXPECT_EQ(rs.m_strParamSchema, "dbo");
                EXPECT_EQ(rs.GetODBCFieldCount(), 5);
                EXPECT_EQ(ColumnNames(rs), "Id,Customer,Qty,Price,Total");
            }),
    };
    RunRecordsetCases(aCases);
}

TEST(DependentRecordsetsTest, ViewColumnsOfAMissingObjectThrow) {
    CSnapshotHost host("dependents.json");
    CSQLRecViewCountFields rs;
    rs.m_strParamName = "Missing";
    try {
        rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
        FAIL() << "the server rejects the statement";
    } catch (CDBException* e) {
        EXPECT_EQ(e->GetSqlState(), "42S02");
        EXPECT_EQ(e->GetNativeError(), 208);
        e->Delete();
    }
}
