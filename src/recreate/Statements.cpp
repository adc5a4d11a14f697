#include "recreate/Statements.h"

#include "recreate/DdlText.h"

namespace {

std::string OnOff(bool bOn) {
    return bOn ? "ON" : "OFF";
}

std::string SetLines(const TSetOptions& options) {
    return "SET ANSI_NULLS " + OnOff(options.bAnsiNulls) + ";" + LineEnd() + "SET QUOTED_IDENTIFIER " +
           OnOff(options.bQuotedIdentifier) + ";" + LineEnd();
}

// Writes batches one statement after another: a batch is begun where one is needed and ended with GO.
class CBatchWriter {
public:
    CBatchWriter(std::string& strScript, std::string_view strPrologue)
        : m_strScript(strScript), m_strPrologue(strPrologue) {}

    void Write(TStatement&& statement) {
        if (m_bAlone || statement.ePlace != eBatchPlace::Joins || statement.setOptions)
            End();
        if (statement.setOptions) {
            Begin();
            m_strScript += SetLines(*statement.setOptions);
            End();
            m_bRestore = m_bRestore || *statement.setOptions != TSetOptions();
        }
        Begin();
        if (statement.ePlace == eBatchPlace::Alone && !m_strPrologue.empty())
            AppendLine(m_strScript, "EXEC sys.sp_executesql " + UnicodeLiteral(statement.Text()) + ";");
        else if (m_strScript.empty() && !statement.strBorrowed.data())
            Adopt(std::move(statement.strText));
        else
            AppendLine(m_strScript, statement.Text());
        m_bAlone = statement.ePlace == eBatchPlace::Alone || statement.ePlace == eBatchPlace::Own;
    }

    void Finish() {
        End();
        if (!m_bRestore)
            return;
        Begin();
        m_strScript += SetLines(TSetOptions());
        End();
    }

private:
    void Begin() {
        if (m_bOpen)
            return;
        if (!m_strPrologue.empty())
            AppendLine(m_strScript, m_strPrologue);
        m_bOpen = true;
    }

    void End() {
        if (m_bOpen)
            m_strScript += GoLine();
        m_bOpen = false;
    }

    // The first text becomes the script's: a catalog's texts are not copied once more.
    void Adopt(std::string&& strText) {
        m_strScript = std::move(strText);
        if (m_strScript.empty() || (m_strScript.back() != '\n' && m_strScript.back() != '\r'))
            m_strScript += LineEnd();
    }

    std::string& m_strScript;
    const std::string_view m_strPrologue;
    bool m_bOpen = false;    // a batch is begun and not yet ended
    bool m_bAlone = false;   // the last statement ends its batch
    bool m_bRestore = false; // a statement set an option OFF
};

void WriteBatches(std::string& strScript, TStatements&& aStatements, std::string_view strPrologue) {
    CBatchWriter writer(strScript, strPrologue);
    for (TStatement& statement : aStatements)
        writer.Write(std::move(statement));
    writer.Finish();
}

} // namespace

void AppendBatches(std::string& strScript, TStatements aStatements, std::string_view strPrologue) {
    WriteBatches(strScript, std::move(aStatements), strPrologue);
}

std::string ScriptText(TStatements aStatements) {
    std::string strScript;
    // A script that a SET batch begins cannot take over its statement's text: room for the whole, as a
    // catalog's module texts are held together.
    if (!aStatements.empty() && aStatements.front().setOptions) {
        const size_t nSetBatch = SetLines(TSetOptions{false, false}).size() + GoLine().size();
        size_t nLength = 2 * nSetBatch;
        for (const TStatement& statement : aStatements)
            nLength += statement.Text().size() + LineEnd().size() + GoLine().size();
        strScript.reserve(nLength);
    }
    WriteBatches(strScript, std::move(aStatements), {});
    return strScript;
}
