// Each family statement is spliced from its per-object template at texts of that template (one of them the
// two blanks of " FROM sys.columns  as COL"). A template edited there fails here, by name, instead of
// stopping every prefetch run.
#include "catalog/Prefetch.h"
#include "platform/PlatformTestSupport.h"

#include <sstream>

TEST(PrefetchStatementTest, FamilyStatementsAreSplicedFromTheTemplatesAsWritten) {
    std::istringstream expected(ReadWholeFile(SCRIPTS_FIXTURES_DIR "/prefetch/family-statements.sql"));
    for (size_t i = 0; i < PREFETCH_FAMILY_COUNT; ++i) {
        std::string strExpected, strActual;
        std::getline(expected, strExpected);
        const auto e =
            CatchAs<CDBException>([&] { strActual = GetPrefetchSQL(static_cast<EPrefetchFamily>(i)).Str(); });
        EXPECT_EQ(e ? e->GetErrorText().Str() : strActual, strExpected) << "family " << i;
    }
}
