#include "platform/String.h"

#include <gtest/gtest.h>

TEST(CStringTest, FormatFollowsPrintfAndTakesCStringArguments) {
    CString strName("Totals");
    CString str;
    str.Format("[%s].[%s](%d)%%", CString("dbo"), strName, 50);
    EXPECT_EQ(str, "[dbo].[Totals](50)%");
    str.AppendFormat("%s", std::string(300, 'x').c_str());
    EXPECT_EQ(str.GetLength(), 19 + 300);
}
