#include "scripting/FullText.h"

#include "catalog/SQLRecTableDetails.h"
#include "scripting/ScriptGuard.h"

namespace {

CString GetFullTextColumnBlock(long nObjectId) {
    CSQLRecFullTextCatalogIndexColumns rs;
    rs.m_nObjectId = nObjectId;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strBlock;
    while (!rs.IsEOF()) {
        if (strBlock.IsEmpty())
            strBlock += "(\r\n";
        strBlock += "\t" + rs.m_strName;
        if (!rs.m_strTypeColumnId.IsEmpty())
            strBlock += " TYPE COLUMN " + rs.m_strTypeColumnId;
        strBlock += " LANGUAGE " + rs.m_strLanguageId;
        rs.MoveNext();
        strBlock += rs.IsEOF() ? "\r\n)\r\n" : ",\r\n ";
    }
    return strBlock;
}

} // namespace

CString CSQLFullText::ScriptAllObjects() {
    // A failure drops the header too: a block that would only enable full-text search helps nobody.
    CString strText = ScriptOrReport([this] {
        CString strBlock(
            "IF (SELECT SERVERPROPERTY ( 'IsFullTextInstalled' ) ) = 1\r\nBEGIN\r\nIF (SELECT "
            "DATABASEPROPERTY(DB_NAME(), N'IsFullTextEnabled')) <> 1 \r\n\texec sp_fulltext_database "
            "N'enable' \r\n\r\n");
        // Indexes go before their catalogs do, and the catalogs are back before the indexes return.
        strBlock += ScriptFullTextDrops();
        strBlock += ScriptFullTextCatalogs();
        strBlock += ScriptFullTextIndexes();
        return strBlock;
    });
    if (strText.IsEmpty())
        return CString();
    return strText + "END";
}

CString CSQLFullText::ScriptFullTextDrops() {
    CSQLRecFullTextCatalogIndexes rs;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strText;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        strText.AppendFormat(
            "IF( EXISTS( SELECT 1 FROM sys.fulltext_indexes FI INNER JOIN sys.tables T ON "
            "FI.object_id = T.object_id WHERE T.schema_id = SCHEMA_ID('%s') AND T.name = '%s' ) "
            ")\r\n\tDROP FULLTEXT INDEX ON [%s].[%s]\r\n\r\n",
            rs.m_strNameTableSchema, rs.m_strNameTable, rs.m_strNameTableSchema, rs.m_strNameTable);
    }
    return strText;
}

CString CSQLFullText::ScriptFullTextCatalogs() {
    CSQLRecFullTextCatalogs rs;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strText;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        CString strFileGroup;
        if (!rs.m_strFileGroupName.IsEmpty() && rs.m_strFileGroupName.CompareNoCase("PRIMARY") != 0)
            strFileGroup = "ON FILEGROUP " + rs.m_strFileGroupName;
        strText.AppendFormat(
            "IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = '%s') )\r\n\tDROP "
            "FULLTEXT CATALOG [%s];\r\nCREATE FULLTEXT CATALOG [%s] %s WITH ACCENT_SENSITIVITY = "
            "%s %s;\r\n\r\n",
            rs.m_strName, rs.m_strName, rs.m_strName, strFileGroup,
            rs.m_nIsAccentSensitivityOn ? "ON" : "OFF", rs.m_nIsDefault ? "AS DEFAULT" : "");
    }
    return strText;
}

CString CSQLFullText::ScriptFullTextIndexes() {
    CSQLRecFullTextCatalogIndexes rs;
    rs.Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
    CString strText;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        strText.AppendFormat(
            "CREATE FULLTEXT INDEX ON [%s].[%s]\r\n%sKEY INDEX [%s] ON [%s] WITH CHANGE_TRACKING "
            "%s %s;\r\n\r\n",
            rs.m_strNameTableSchema, rs.m_strNameTable, GetFullTextColumnBlock(rs.m_nObjectId),
            rs.m_strNameIndex, rs.m_strNameFullTextCatalog, rs.m_strChangeTrackingStateDesc,
            rs.m_nIsEnabled ? "" : ", NO POPULATION");
    }
    return strText;
}
