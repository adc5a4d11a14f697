// The MFC stand-in as the module leans on it: CString, exception messages, files. (Its worker threads are
// tested as the parallel export runs them, under ThreadSanitizer too.)
#include "platform/PlatformTestSupport.h"

#include "platform/File.h"

namespace {

// Replace as names are escaped (every occurrence, left to right, never rescanning what was put in), and
// Format with CString arguments, the string itself among them, and output longer than any first guess.
TEST(CStringTest, ReplaceAndFormat) {
    const char* aszReplaces[][5] = {{"[a]].[b]", "]", "]]", "[a]]]].[b]]", "3"},
                                    {"aaa", "aa", "b", "ba", "1"},
                                    {"Таблица", "блиц", "", "Таа", "1"}};
    for (const auto& c : aszReplaces) {
        CString str(c[0]);
        EXPECT_EQ(str.Replace(c[1], c[2]), std::stoi(c[4])) << c[0];
        EXPECT_EQ(str.Str(), c[3]);
    }
    CString str("Totals");
    str.Format("[%s].[%s](%d)%%|%5d|%-3s|", CString("dbo"), str, 50, 42, "ж");
    EXPECT_EQ(str.Str(), "[dbo].[Totals](50)%|   42|ж |");
    const std::string strLong = std::string(5000, 'a') + "Итог";
    str = strLong.c_str();
    str.AppendFormat("|%s|%s", str, str);
    EXPECT_EQ(str.Str(), strLong + "|" + strLong + "|" + strLong);
}

// A script error's message is cut to 255 characters, never half of one.
TEST(CExceptionTest, ErrorMessageIsCutWithoutBreakingUtf8) {
    const std::pair<std::string, std::string> aCases[] = {
        {std::string(300, 'e'), std::string(255, 'e')},
        {RepeatText("ж", 300), RepeatText("ж", 255)},
        {RepeatText("😀", 300), RepeatText("😀", 255)},
        {"a" + RepeatText("数", 300), "a" + RepeatText("数", 254)},
        {"short", "short"}};
    for (const auto& [strMessage, strCut] : aCases) {
        CString str;
        EXPECT_TRUE(CDBException("HY000", 0, strMessage).GetErrorMessage(str, 256));
        EXPECT_EQ(str.Str(), strCut);
    }
}

// The bytes written are the file, an older one cut off; a full device is an error, not a short file.
TEST(CFileTest, WritesExactlyTheBytesOrThrows) {
    CTempDir dir;
    WriteWholeFile(dir.File("Tables.sql"), std::string(100, 'o'));
    const std::string strText("CREATE TABLE [dbo].[Итог]\r\n\tGO\r\n\0end", 38);
    CFile(dir.File("Tables.sql").c_str(), CFile::modeCreate | CFile::modeWrite)
        .Write(strText.data(), strText.size());
    EXPECT_EQ(ReadWholeFile(dir.File("Tables.sql")), strText);
    CFile full("/dev/full", CFile::modeWrite);
    EXPECT_NE(CatchAs<CFileException>([&] { full.Write("text", 4); }), nullptr);
}

} // namespace
