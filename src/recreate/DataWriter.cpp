#include "recreate/DataWriter.h"

#include "platform/Text.h"
#include "recreate/DataPositions.h"
#include "recreate/DataValues.h"
#include "recreate/DdlText.h"

namespace {

// The text is handed to the output in pieces of about this size.
constexpr size_t kOutputPiece = 1 << 18;

std::string TableName(const TDataTable& table) {
    return QuoteName(table.strSchema, table.strName);
}

std::string ColumnNotice(const TDataTable& table, const TDataColumn& column) {
    return "table " + table.strSchema + "." + table.strName + ", column " + column.strName + " (" +
           column.strType + ")";
}

// What the server is asked for the table's rows, its failures named as the table's.
template <typename TWork> auto Reading(const TDataTable& table, const std::string& strSelect, TWork&& work) {
    try {
        return work();
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        throw CModelError(eModelTask::ReadRows, table.strSchema + "." + table.strName,
                          e->GetErrorText().Str(), strSelect);
    }
}

// Writes statements row by row and keeps count of where the statement and the batch began.
class CInsertWriter {
public:
    CInsertWriter(const TDataTable& table, const TDataOptions& options, CDataOutput& output)
        : m_table(table), m_options(options), m_output(output) {
        for (const TDataColumn& column : table.aColumns) {
            m_aTypes.push_back(&DataTypeOf(table, column));
            m_aFieldCounts.push_back(FieldCount(*m_aTypes.back()));
        }
        m_strInsert = InsertHead(table);
    }

    void Row(const TDbRow& row) {
        if (m_nRows++ == 0)
            Begin();
        if (m_nStatementRows++ == 0) {
            m_nStatementStart = Offset();
            m_strText += m_strInsert;
        } else
            m_strText.append(",").append(LineEnd());
        if (!m_table.aColumns.empty())
            AppendValues(row);
        ++m_nBatchRows;
        if (m_table.aColumns.empty() || m_nStatementRows >= m_options.nRowsPerInsert ||
            Offset() - m_nStatementStart >= kBatchBytes)
            EndStatement();
        if (m_strText.size() >= kOutputPiece)
            Flush();
    }

    long Finish() {
        if (m_nStatementRows > 0)
            EndStatement();
        if (m_nBatchRows > 0)
            EndBatch();
        if (m_nRows > 0 && m_table.identity) {
            m_strText.append(IdentityInsert(m_table, false)).append(LineEnd());
            EndBatch();
        }
        Reseed();
        Flush();
        return m_nRows;
    }

private:
    void Begin() {
        m_nBatchStart = Offset();
        if (!m_table.identity)
            return;
        m_strText.append(IdentityInsert(m_table, true)).append(LineEnd());
        EndBatch();
    }

    void AppendValues(const TDbRow& row) {
        m_strText += '(';
        const TDbValue* pFields = row.data();
        for (size_t i = 0; i < m_aTypes.size(); ++i) {
            if (i > 0)
                m_strText += ", ";
            if (!AppendLiteral(m_strText, *m_aTypes[i], pFields))
                ThrowUnwritable(m_table, m_table.aColumns[i], *pFields);
            if (m_table.identity && i == m_table.identity->nColumn)
                KeepIdentity(**pFields);
            pFields += m_aFieldCounts[i];
        }
        m_strText += ')';
    }

    void KeepIdentity(std::string_view strValue) {
        const int nOrder = m_table.identity->bDownward ? -1 : 1;
        if (m_strIdentity.empty() || CompareIntegerText(strValue, m_strIdentity) == nOrder)
            m_strIdentity = strValue;
    }

    // Where the rows leave the identity is not where the original's stands: on a table that has rows, the
    // server hands out the reseed value plus the increment next; on one that never had any, the value itself.
    void Reseed() {
        if (!m_table.identity || !m_table.identity->position)
            return;
        const TIdentityPosition& position = *m_table.identity->position;
        if (m_nRows > 0 && CompareIntegerText(m_strIdentity, position.strLast) == 0)
            return;
        m_strText.append("DBCC CHECKIDENT (")
            .append(SqlLiteral(TableName(m_table)))
            .append(", RESEED, ")
            .append(m_nRows > 0 ? position.strLast : position.strNext)
            .append(");")
            .append(LineEnd());
        EndBatch();
    }

    void EndStatement() {
        m_strText.append(";").append(LineEnd());
        m_nStatementRows = 0;
        if (m_nBatchRows >= kBatchRows || Offset() - m_nBatchStart >= kBatchBytes)
            EndBatch();
    }

    void EndBatch() {
        m_strText.append(GoLine());
        m_nBatchRows = 0;
        m_nBatchStart = Offset();
    }

    size_t Offset() const { return m_nFlushed + m_strText.size(); }

    void Flush() {
        if (m_strText.empty())
            return;
        m_output.Write(m_strText);
        m_nFlushed += m_strText.size();
        m_strText.clear();
    }

    const TDataTable& m_table;
    const TDataOptions& m_options;
    CDataOutput& m_output;
    std::vector<const TDataType*> m_aTypes;
    std::vector<size_t> m_aFieldCounts; // of each column, known once rather than asked for every value
    std::string m_strInsert;
    std::string m_strText;
    size_t m_nFlushed = 0;
    size_t m_nStatementStart = 0;
    size_t m_nBatchStart = 0;
    long m_nRows = 0;
    long m_nStatementRows = 0;
    long m_nBatchRows = 0;
    std::string m_strIdentity; // the rows' highest identity value (lowest where it counts down)
};

} // namespace

const TDataType& DataTypeOf(const TDataTable& table, const TDataColumn& column) {
    const TDataType* pType = FindDataType(column.strType);
    if (!pType)
        throw CModelError(eModelTask::WriteValue, ColumnNotice(table, column),
                          "no literal is known for this type");
    return *pType;
}

// The value is quoted up to a length that keeps the message one readable line.
void ThrowUnwritable(const TDataTable& table, const TDataColumn& column, const TDbValue& value) {
    constexpr size_t kShown = 40;
    const std::string strValue(*value);
    throw CModelError(eModelTask::WriteValue, ColumnNotice(table, column),
                      "the value \"" + strValue.substr(0, kShown) + (strValue.size() > kShown ? "..." : "") +
                          "\" is not in a form that can be written back exactly");
}

void CheckDataTypes(const TDataTable& table) {
    for (const TDataColumn& column : table.aColumns)
        DataTypeOf(table, column);
}

std::string DataSelect(const TDataTable& table) {
    std::string strSelect = "SELECT ";
    for (const TDataColumn& column : table.aColumns) {
        if (&column != &table.aColumns.front())
            strSelect += ", ";
        AppendSelectItems(strSelect, QuoteName(column.strName), DataTypeOf(table, column), column.nMaxLength);
    }
    if (table.aColumns.empty())
        strSelect += "0";
    strSelect += " FROM " + TableName(table);
    for (const TDataOrderKey& key : table.aOrder)
        strSelect.append(&key == &table.aOrder.front() ? " ORDER BY " : ", ")
            .append(QuoteName(key.strColumn))
            .append(key.bDescending ? " DESC" : "");
    return strSelect;
}

CTableRows::CTableRows(CDbConnection& db, const TDataTable& table)
    : m_table(table), m_strSelect(DataSelect(table)),
      m_pResult(Reading(table, m_strSelect, [&] { return db.ExecuteStream(m_strSelect); })) {
    size_t nFields = table.aColumns.empty() ? 1 : 0;
    for (const TDataColumn& column : table.aColumns)
        nFields += FieldCount(DataTypeOf(table, column));
    if (m_pResult->Columns().size() != nFields)
        throw CModelError(eModelTask::ReadRows, table.strSchema + "." + table.strName,
                          std::to_string(m_pResult->Columns().size()) + " columns read, " +
                              std::to_string(nFields) + " expected",
                          m_strSelect);
}

std::optional<TDbRow> CTableRows::Fetch() {
    return Reading(m_table, m_strSelect, [&] { return m_pResult->Fetch(); });
}

std::string InsertHead(const TDataTable& table) {
    if (table.aColumns.empty())
        return "INSERT INTO " + TableName(table) + " DEFAULT VALUES";
    std::vector<std::string> aQuoted;
    for (const TDataColumn& column : table.aColumns)
        aQuoted.push_back(QuoteName(column.strName));
    return "INSERT INTO " + TableName(table) + " (" + JoinText(aQuoted) + ") VALUES" + LineEnd();
}

std::string IdentityInsert(const TDataTable& table, bool bOn) {
    return "SET IDENTITY_INSERT " + TableName(table) + (bOn ? " ON;" : " OFF;");
}

long WriteTableData(CDbConnection& db, const TDataTable& table, const TDataOptions& options,
                    CDataOutput& output) {
    CInsertWriter writer(table, options, output);
    CTableRows rows(db, table);
    while (const std::optional<TDbRow> row = rows.Fetch())
        writer.Row(*row);
    return writer.Finish();
}
