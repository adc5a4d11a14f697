// A recorded catalog behind the host connection of the single-object calls, and what they showed.
#pragma once

#include "catalog/ConnectionContext.h"
#include "backend/Database.h"
#include "ui/Ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

inline const char* const kBadConnection = "Не корректное соединение с базой данных";
inline const char* const kBadParameters = "Ошибка. Некорректные параметры функции.";
inline const char* const kUnknownError = "Неопознанная ошибка";
inline const char* const kScriptError = "Ошибка создания скрипта. ";

class CApiTest : public ::testing::Test {
protected:
    // The snapshot under tests/fixtures that the host connection replays.
    virtual std::string SnapshotName() const { return "api/catalog.json"; }

    void SetUp() override {
        ResetDefinitionLengthForTesting();
        AfxSetUiBackend(nullptr);
        AfxGetHeadlessUiBackend().ClearMessages();
        m_db.OpenEx(("SNAPSHOT=" + Fixture(SnapshotName())).c_str(), CDatabase::noOdbcDialog);
    }
    void TearDown() override {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
        ResetDefinitionLengthForTesting();
        AfxGetHeadlessUiBackend().ClearMessages();
    }

    static std::string Fixture(const std::string& strName) {
        return std::string(SCRIPTS_FIXTURES_DIR) + "/" + strName;
    }

    // The texts of the message boxes shown so far; every one must have had an OK button only.
    static std::vector<std::string> ShownBoxes() {
        std::vector<std::string> aTexts;
        for (const TUiMessage& message : AfxGetHeadlessUiBackend().GetMessages()) {
            EXPECT_EQ(message.nType, MB_OK) << message.strText.Str();
            aTexts.push_back(message.strText.Str());
        }
        return aTexts;
    }

    // Leaves one idle connection in the pool, so that a test can see the call close it.
    void FillPool() {
        SetConnectionContext(&m_db, true);
        ReleaseConnection(AcquireConnection());
        ASSERT_EQ(GetPooledConnectionCount(), 1);
    }

    CDatabase m_db;
};

using ::testing::ElementsAre;
using ::testing::IsEmpty;
