// What the loader makes of answers that are not whole: a snapshot recorded by an earlier sqlscripts, without
// the statement of a family added since, and answers that lack a column a family reads.
#include "model/ModelLoader.h"
#include "model/ModelDump.h"
#include "platform/PlatformTestSupport.h"

#include <gmock/gmock.h>

#include <set>

namespace {

using testing::ElementsAre;

// The families that every snapshot of a model holds.
const std::set<std::string> g_setRequired = {"database", "schemas", "types", "objects", "columns"};

// The snapshot's lines without the statement of that text and its rows.
std::string WithoutStatement(const std::string& strSnapshot, const std::string& strSql) {
    std::istringstream in(strSnapshot);
    std::string strOut;
    bool bSkipping = false;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.starts_with("{\"sql\""))
            bSkipping = nlohmann::json::parse(strLine)["sql"] == strSql;
        else if (!strLine.starts_with("["))
            bSkipping = false;
        if (!bSkipping)
            strOut += strLine + "\n";
    }
    return strOut;
}

TCatalogModel Load(const std::string& strPath) {
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + strPath).c_str(), CDatabase::noOdbcDialog);
    return LoadCatalogModel(db);
}

class ModelLoader : public testing::Test {
protected:
    const std::string m_strRecorded = ReadWholeFile(FixtureFile("recreate/recorded-features.json"));
    const TCatalogModel m_whole = Load(FixtureFile("recreate/recorded-features.json"));
    const CTempDir m_temp;

    // The load of the recorded snapshot as text changed it.
    TCatalogModel LoadChanged(const std::string& strSnapshot) const {
        WriteWholeFile(m_temp.File("changed.json"), strSnapshot);
        return Load(m_temp.File("changed.json"));
    }
    const TModelStatement& StatementOf(const std::string& strFamily) const {
        for (const TModelStatement* pStatement : ModelStatements(m_whole.features))
            if (pStatement->pszFamily == strFamily)
                return *pStatement;
        throw std::logic_error("no family " + strFamily);
    }
};

TEST_F(ModelLoader, ASnapshotOfAnEarlierVersionReadsAFamilyItLacksAsEmpty) {
    ASSERT_FALSE(m_whole.aExtendedProperties.empty());
    EXPECT_TRUE(m_whole.aUnrecordedFamilies.empty());

    const TCatalogModel without =
        LoadChanged(WithoutStatement(m_strRecorded, StatementOf("extended properties").strSql));

    EXPECT_THAT(without.aUnrecordedFamilies, ElementsAre("extended properties"));
    TCatalogModel expected = m_whole;
    expected.aExtendedProperties.clear();
    EXPECT_EQ(DumpModel(without), DumpModel(expected));
}

TEST_F(ModelLoader, OnlyTheFamiliesThatMakeAModelAreRequiredOfASnapshot) {
    for (const TModelStatement* pStatement : ModelStatements(m_whole.features)) {
        const std::string strFamily = pStatement->pszFamily;
        const std::string strSnapshot = WithoutStatement(m_strRecorded, pStatement->strSql);
        if (!g_setRequired.count(strFamily)) {
            EXPECT_THAT(LoadChanged(strSnapshot).aUnrecordedFamilies, ElementsAre(strFamily));
            continue;
        }
        try {
            LoadChanged(strSnapshot);
            ADD_FAILURE() << strFamily << " is not required";
        } catch (const CModelError& error) {
            EXPECT_EQ(error.Subject(), strFamily);
            EXPECT_THAT(error.Reason(), testing::StartsWith("Statement not in catalog snapshot "));
        }
    }
}

// A recording that was cut short lacks statements for another reason than its age, and a recorded refusal is
// the server's answer.
TEST_F(ModelLoader, ACutShortRecordingOrARecordedRefusalStaysAnError) {
    const std::string strSql = StatementOf("extended properties").strSql;
    std::string strCutShort = WithoutStatement(m_strRecorded, strSql);
    strCutShort.replace(strCutShort.find("{\"end\":\"complete\"}"), std::string::npos,
                        "{\"end\":\"cut short\",\"reason\":\"the connection was lost\"}\n");
    std::string strRefused = WithoutStatement(m_strRecorded, strSql);
    strRefused.insert(
        strRefused.find("{\"end\""),
        nlohmann::json(
            {{"sql", strSql}, {"error", {{"sqlstate", "42000"}, {"native", 229}, {"message", "denied"}}}})
                .dump() +
            "\n");
    for (const std::string& strSnapshot : {strCutShort, strRefused}) {
        try {
            LoadChanged(strSnapshot);
            ADD_FAILURE() << "the load did not fail";
        } catch (const CModelError& error) {
            EXPECT_EQ(error.Subject(), "extended properties");
        }
    }
}

// An answer of every statement, no rows but the database's, with the columns each family declares; the
// statement of nBroken lacks its last column.
std::string AnswersWithoutAColumn(const std::vector<const TModelStatement*>& aStatements, size_t nBroken,
                                  bool bFeatures) {
    std::string strSnapshot = R"({"format":"sqlscripts-catalog-snapshot","version":2,"source":"test"})"
                              "\n";
    for (size_t i = 0; i < aStatements.size(); ++i) {
        nlohmann::json columns = nlohmann::json::array();
        for (const char* pszColumn : aStatements[i]->aColumns)
            columns.push_back({{"name", pszColumn}, {"type", "int"}});
        if (i == nBroken)
            columns.erase(columns.end() - 1);
        strSnapshot += nlohmann::json({{"sql", aStatements[i]->strSql}, {"columns", columns}}).dump() + "\n";
        if (i > 0)
            continue;
        nlohmann::json row = {"Latin1_General_CI_AS"};
        while (row.size() < columns.size())
            row.push_back(bFeatures ? nlohmann::json(1) : nlohmann::json());
        strSnapshot += row.dump() + "\n";
    }
    return strSnapshot + "{\"end\":\"complete\"}\n";
}

TEST_F(ModelLoader, AnAnswerWithoutAColumnThatAFamilyReadsNamesTheFamilyAndTheColumn) {
    for (const bool bFeatures : {true, false}) {
        const TModelFeatures features{bFeatures, bFeatures, bFeatures, bFeatures, bFeatures};
        const std::vector<const TModelStatement*> aStatements = ModelStatements(features);
        for (size_t i = 0; i < aStatements.size(); ++i) {
            const std::string strColumn = aStatements[i]->aColumns.back();
            try {
                LoadChanged(AnswersWithoutAColumn(aStatements, i, bFeatures));
                ADD_FAILURE() << aStatements[i]->pszFamily << " was read without " << strColumn;
            } catch (const CModelError& error) {
                EXPECT_EQ(error.Subject(), aStatements[i]->pszFamily);
                EXPECT_EQ(error.Reason(), "the server's answer has no column " + strColumn);
            }
        }
    }
}

} // namespace
