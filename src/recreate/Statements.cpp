#include "recreate/Statements.h"

#include "recreate/DdlText.h"

namespace {

std::string OnOff(bool bOn) {
    return bOn ? "ON" : "OFF";
}

std::string SetLines(const TSetOptions& options) {
    return "SET ANSI_NULLS " + OnOff(options.bAnsiNulls) + ";" + kLineEnd + "SET QUOTED_IDENTIFIER " +
           OnOff(options.bQuotedIdentifier) + ";" + kLineEnd;
}

// Writes batches one statement after another: a batch is begun where one is needed and ended with GO.
class CBatchWriter {
public:
    CBatchWriter(std::string& strScript, std::string_view strPrologue)
        : m_strScript(strScript), m_strPrologue(strPrologue) {}

    void Write(const TStatement& statement) {
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
            AppendLine(m_strScript, "EXEC sys.sp_executesql " + UnicodeLiteral(statement.strText) + ";");
        else
            AppendLine(m_strScript, statement.strText);
        m_bAlone = statement.ePlace == eBatchPlace::Alone;
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
            m_strScript += kGo;
        m_bOpen = false;
    }

    std::string& m_strScript;
    const std::string_view m_strPrologue;
    bool m_bOpen = false;    // a batch is begun and not yet ended
    bool m_bAlone = false;   // the last statement is its batch's whole text
    bool m_bRestore = false; // a statement set an option OFF
};

} // namespace

void AppendBatches(std::string& strScript, const TStatements& aStatements, std::string_view strPrologue) {
    CBatchWriter writer(strScript, strPrologue);
    for (const TStatement& statement : aStatements)
        writer.Write(statement);
    writer.Finish();
}

std::string ScriptText(const TStatements& aStatements) {
    size_t nLength = 0;
    for (const TStatement& statement : aStatements)
        nLength += statement.strText.size() + kLineEnd.size() + kGo.size();
    std::string strScript;
    strScript.reserve(nLength + 128);
    AppendBatches(strScript, aStatements);
    return strScript;
}
