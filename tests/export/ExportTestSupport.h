// A recorded catalog, an output folder and a scripted user for the export tests.
#pragma once

#include "backend/Database.h"
#include "catalog/ConnectionContext.h"
#include "export/DlgReplaceFile.h"
#include "platform/PlatformTestSupport.h"
#include "scripts/ScriptUnloader.h"
#include "ui/Ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

inline const std::vector<std::string>& DefaultFileNames() {
    static const std::vector<std::string> aNames = {
        "Defaults.sql", "Udt.sql",     "Tables.sql", "PK.sql",       "FK.sql",
        "FullText.sql", "Schemas.sql", "Views.sql",  "Triggers.sql", "StoredProc.sql",
        "Indexes.sql",  "Checks.sql",  "Udf.sql"};
    return aNames;
}

// Plays the user of the replace dialog: answers from a queue (23014 "Да", 23013 "Да для всех",
// 23010 "Нет", 2 "Отмена"); records the file names asked about and whether two dialogs were ever open.
class CReplaceAnswers {
public:
    void Queue(std::deque<int> aAnswers) {
        std::lock_guard lock(m_mutex);
        m_aAnswers = std::move(aAnswers);
    }

    void Answer(CDialog& dlg) {
        const int nOpen = ++m_nOpen;
        m_bOverlap = m_bOverlap || nOpen > 1;
        CString strQuestion;
        dlg.GetDlgItem(23012)->GetWindowText(strQuestion);
        int nButton = 2;
        {
            std::lock_guard lock(m_mutex);
            m_aQuestions.push_back(strQuestion.Str());
            if (!m_aAnswers.empty()) {
                nButton = m_aAnswers.front();
                m_aAnswers.pop_front();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // widen the window for overlaps
        --m_nOpen;
        dlg.ClickButton(nButton);
    }

    std::vector<std::string> Questions() const {
        std::lock_guard lock(m_mutex);
        return m_aQuestions;
    }
    bool Overlapped() const { return m_bOverlap; }

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_aAnswers;
    std::vector<std::string> m_aQuestions;
    std::atomic<int> m_nOpen{0};
    std::atomic<bool> m_bOverlap{false};
};

class CExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDefinitionLengthForTesting();
        m_db.OpenEx(("SNAPSHOT=" + Fixture("tiny/snapshot.json")).c_str(), CDatabase::noOdbcDialog);
        AfxSetUiBackend(&m_ui);
        m_ui.SetDialogDriver([this](CDialog& dlg) { m_answers.Answer(dlg); });
    }
    void TearDown() override { AfxSetUiBackend(nullptr); }

    static std::string Fixture(const std::string& strName) {
        return std::string(SCRIPTS_FIXTURES_DIR) + "/" + strName;
    }
    static std::string Expected(int nCategory) {
        return ReadWholeFile(Fixture("tiny/expected/" + DefaultFileNames()[nCategory]));
    }
    std::string OutFile(int nCategory) const { return m_dir.File("out/" + DefaultFileNames()[nCategory]); }
    std::string OutDir() const { return m_dir.File("out"); }

    // An unloader on the recorded catalog with the given categories enabled under their default names.
    std::unique_ptr<CScriptUnloader> MakeUnloader(const std::vector<int>& aCategories,
                                                  const std::string& strPath = "") {
        auto pUnloader =
            std::make_unique<CScriptUnloader>(m_db, nullptr, (strPath.empty() ? OutDir() : strPath).c_str());
        pUnloader->m_bNoCollation = 1;
        for (int nCategory : aCategories) {
            pUnloader->m_aFiles[nCategory].bEnabled = 1;
            pUnloader->m_aFiles[nCategory].strFile = DefaultFileNames()[nCategory].c_str();
        }
        return pUnloader;
    }
    static std::vector<int> AllCategories() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; }

    // Fills the output folder with old files for the given categories.
    void PlaceOldFiles(const std::vector<int>& aCategories) {
        std::filesystem::create_directories(OutDir());
        for (int nCategory : aCategories)
            WriteWholeFile(OutFile(nCategory), "old");
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> aTexts;
        for (const TUiMessage& message : m_ui.GetMessages())
            aTexts.push_back(message.strText.Str());
        return aTexts;
    }

    CTempDir m_dir;
    CDatabase m_db;
    CHeadlessUiBackend m_ui;
    CReplaceAnswers m_answers;
};
