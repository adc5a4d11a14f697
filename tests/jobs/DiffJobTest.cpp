// The comparison as a program runs it: two snapshots of a small shop database give their differences as
// records in the order the migration deals with them; a change the options do not allow is a refusal record
// naming the option, and no script is written; a side that cannot be loaded is told, the other side's records
// not at all.
#include "platform/PlatformTestSupport.h"

#include "model/ModelKey.h"
#include "scripts/DiffJob.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class CNoticeList : public IDiffJobObserver {
public:
    void OnNotice(const TJobNotice& notice) override { m_aNotices.push_back(notice); }

    std::vector<TJobNotice> m_aNotices;
};

std::string Sample(const std::string& strName) {
    return (std::filesystem::path(SQLSCRIPTS_SAMPLE).parent_path() / strName).string();
}

TDiffJobOptions ShopVersions() {
    TDiffJobOptions options;
    options.strFrom = Sample("shop-v1.json");
    options.strTo = Sample("shop-v2.json");
    return options;
}

// "+ table dbo.Review": the change, the kind and the name as a line shows them.
std::string Shown(const TDiffEntry& entry) {
    static const char* const kSigns[] = {"+", "-", "- kept:", "~"};
    std::string strShown =
        std::string(kSigns[static_cast<int>(entry.eChange)]) + " " + entry.strKind + " " + entry.strName;
    if (entry.eChange == eDiffEntry::Changed)
        strShown += ": " + entry.strProperty + " " + entry.strOld + " -> " + entry.strNew;
    return strShown;
}

TEST(DiffJobTest, GivesTheDifferencesInTheOrderTheMigrationDealsWithThem) {
    CNoticeList observer;
    const TDiffJobResult result = DiffDatabases(ShopVersions(), observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Done);
    EXPECT_TRUE(observer.m_aNotices.empty());
    std::vector<std::string> aShown;
    for (const TDiffEntry& entry : result.aDifferences)
        aShown.push_back(Shown(entry));
    const std::vector<std::string> aExpected = {
        "- column dbo.Customer.Fax",
        "~ column dbo.Customer.Email: type varchar(200) -> varchar(320)",
        "+ column dbo.Customer.Phone",
        "+ table dbo.Review",
        "+ check dbo.Review.ck_review_stars",
        "+ index sales.OrderLine.ix_orderline_product",
        "+ foreign key dbo.Review.fk_review_product",
        "+ view dbo.ProductRating"};
    EXPECT_EQ(aShown, aExpected);
    const TDiffEntry& index = result.aDifferences[5];
    EXPECT_EQ(index.strSchema, "sales");
    EXPECT_EQ(index.strTable, "OrderLine");
    EXPECT_EQ(index.strObject, "ix_orderline_product");
}

TEST(DiffJobTest, AChangeThatLosesDataIsARefusalAndNoScriptIsWritten) {
    const CTempDir dir;
    TDiffJobOptions options = ShopVersions();
    options.script = TTextOutput{dir.File("migrate.sql")};
    CNoticeList observer;
    const TDiffJobResult result = DiffDatabases(options, observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Failed);
    ASSERT_EQ(observer.m_aNotices.size(), 1u);
    const TJobNotice& refusal = observer.m_aNotices[0];
    EXPECT_EQ(refusal.eWhat, eJobNotice::MigrationRefused);
    EXPECT_EQ(refusal.eOption, eJobOption::AllowDataLoss);
    EXPECT_EQ(refusal.strReason, "dropping column dbo.Customer.Fax loses its values");
    EXPECT_EQ(refusal.strDetail, "drops it where it holds none");
    ASSERT_EQ(refusal.aItems.size(), 1u);
    EXPECT_EQ(refusal.aItems[0].nKind, static_cast<int>(eModelKind::Column));
    EXPECT_EQ(refusal.aItems[0].strName, "dbo.Customer.Fax");
    EXPECT_FALSE(std::filesystem::exists(dir.File("migrate.sql")));

    options.bAllowDataLoss = true;
    EXPECT_EQ(DiffDatabases(options, observer).eEnd, eJobEnd::Done);
    EXPECT_EQ(observer.m_aNotices.size(), 1u);
    EXPECT_TRUE(ReadWholeFile(dir.File("migrate.sql")).starts_with("-- Migration written by sqlscripts at "));
}

TEST(DiffJobTest, ASideThatCannotBeLoadedIsToldAndTheOtherSideIsNot) {
    const CTempDir dir;
    TDiffJobOptions options;
    options.strFrom = SQLSCRIPTS_SAMPLE;
    options.strTo = "DRIVER=no such driver";
    CNoticeList observer;
    EXPECT_EQ(DiffDatabases(options, observer).eEnd, eJobEnd::Failed);
    ASSERT_EQ(observer.m_aNotices.size(), 1u);
    EXPECT_EQ(observer.m_aNotices[0].eWhat, eJobNotice::SnapshotWithoutModel);
    EXPECT_EQ(observer.m_aNotices[0].strSubject, SQLSCRIPTS_SAMPLE);

    options.strFrom = dir.File("");
    CNoticeList folder;
    EXPECT_EQ(DiffDatabases(options, folder).eEnd, eJobEnd::Misused);
    ASSERT_EQ(folder.m_aNotices.size(), 1u);
    EXPECT_EQ(folder.m_aNotices[0].eWhat, eJobNotice::FolderWithoutShadow);
    EXPECT_EQ(folder.m_aNotices[0].eOption, eJobOption::Shadow);
}

} // namespace
