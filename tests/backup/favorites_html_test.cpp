#include "backup/favorites_html.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/internet_shortcut.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

TEST(FavoritesHtml, ReadsTheAddressOfAnInternetShortcut) {
  EXPECT_EQ(InternetShortcutUrl("[DEFAULT]\r\nBASEURL=http://wrong/\r\n[InternetShortcut]\r\nURL=http://a/b \r\n"),
            "http://a/b");
  EXPECT_EQ(InternetShortcutUrl("[other]\nURL=http://x/\n"), "");
  EXPECT_EQ(InternetShortcutUrl(""), "");
}

TEST(FavoritesHtml, WritesFoldersAndLinksAsABookmarkFile) {
  SimMachine m;
  const std::string fav = "C:\\Fav";
  m.CreateFile(fav + "\\desktop.ini", "[.ShellClassInfo]");
  m.CreateFile(fav + "\\Shortcut.lnk", "binary");
  m.CreateFile(fav + "\\Broken.url", "no address here");
  m.CreateFile(fav + "\\A & <B>.url", "[InternetShortcut]\r\nURL=http://example.jp/?a=1&b=\"2\"\r\n");
  m.CreateFile(fav + "\\リンク\\日本.URL", Utf8ToCp932("[InternetShortcut]\r\nURL=http://例え.jp/\r\n"));
  m.files.CreateDirectory(fav + "\\Empty");
  m.files.SetModifiedTime(fav + "\\A & <B>.url", 1086840437);
  ASSERT_TRUE(ExportFavoritesToHtml(m.files, fav, "C:\\out.htm"));
  const std::string html = Cp932ToUtf8(m.ReadFile("C:\\out.htm"));
  EXPECT_EQ(html.rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n", 0), 0u);
  EXPECT_NE(html.find("charset=Shift_JIS"), std::string::npos);
  EXPECT_NE(html.find("<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"), std::string::npos);
  EXPECT_NE(html.find("    <DT><H3 FOLDED ADD_DATE=\""), std::string::npos);
  EXPECT_NE(html.find("\">Empty</H3>\r\n    <DL><p>\r\n    </DL><p>\r\n"), std::string::npos);
  EXPECT_NE(html.find("\">リンク</H3>\r\n    <DL><p>\r\n        <DT><A HREF=\"http://例え.jp/\""), std::string::npos);
  EXPECT_NE(html.find(">日本</A>\r\n    </DL><p>\r\n"), std::string::npos);
  EXPECT_NE(html.find("    <DT><A HREF=\"http://example.jp/?a=1&amp;b=&quot;2&quot;\" ADD_DATE=\"1086840437\" "
                      "LAST_VISIT=\"1086840437\" LAST_MODIFIED=\"1086840437\">A &amp; &lt;B&gt;</A>\r\n"),
            std::string::npos);
  EXPECT_EQ(html.find("Broken"), std::string::npos);
  EXPECT_EQ(html.find("Shortcut"), std::string::npos);
  EXPECT_EQ(html.find("desktop"), std::string::npos);
  EXPECT_TRUE(html.size() > 10 && html.substr(html.size() - 10) == "</DL><p>\r\n");
  // Folders come before the links of their folder.
  EXPECT_LT(html.find("リンク"), html.find("A &amp;"));
}

TEST(FavoritesHtml, AMissingFolderGivesAnEmptyBookmarkFile) {
  SimMachine m;
  ASSERT_TRUE(ExportFavoritesToHtml(m.files, "C:\\Nowhere", "C:\\out.htm"));
  EXPECT_NE(m.ReadFile("C:\\out.htm").find("<DL><p>\r\n</DL><p>\r\n"), std::string::npos);
  EXPECT_FALSE(ExportFavoritesToHtml(m.files, "C:\\Nowhere", "C:\\missing\\out.htm"));
}

}  // namespace
}  // namespace vorn
