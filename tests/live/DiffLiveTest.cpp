// sqlscripts diff against a live server: a database changed by SQL of the tests' own (diff/<database>.sql),
// compared with its original, migrated by the script diff writes, describes as the original afterwards; a
// second diff finds nothing, and every table both keep has every row it had.
#include "DiffSupport.h"

namespace fs = std::filesystem;

namespace {

// The feature database and a copy changed in every kind of object: each migrated to the other's state.
TEST(LiveDiff, MigratesTheFeatureDatabaseBothWays) {
    TScratchDatabase original("diff_original"), changed("diff_changed"), changedAgain("diff_changed_again");
    for (TScratchDatabase* pDb : {&original, &changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kRecreateDir, {"features.sql"}), 0);
    for (TScratchDatabase* pDb : {&changed, &changedAgain})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"features.sql"}), 0);
    ExpectMigrated(changed, original.strName, original.strName);
    ExpectMigrated(original, changedAgain.strName, changedAgain.strName);
}

} // namespace
