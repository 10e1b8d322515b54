#include "restore/favorites_import.h"

#include <gtest/gtest.h>

#include "backup/favorites_html.h"
#include "platform/codepage.h"
#include "tests/restore/faulty_file_system.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

const std::string kFavorites = "C:\\Documents and Settings\\hanako\\Favorites";

BookmarkItem Link(std::vector<std::string> folder, std::string name, std::string url, int64_t added = 0) {
  return {std::move(folder), std::move(name), std::move(url), added};
}
BookmarkItem Folder(std::vector<std::string> folder, std::string name, int64_t added = 0) {
  return {std::move(folder), std::move(name), {}, added};
}

const char kFirefox[] = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<meta http-equiv="Content-Security-Policy"
      content="default-src 'self'; script-src 'none'; img-src data: *; object-src 'none'"></meta>
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>

<DL><p>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000001" PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3>
    <DL><p>
        <DT><A HREF="https://www.mozilla.org/ja/" ADD_DATE="1700000002" LAST_MODIFIED="1700000003" ICON_URI="https://www.mozilla.org/favicon.ico" ICON="data:image/png;base64,iVBORw0KGgo=">Mozilla &amp; 日本語</A>
        <DT><A HREF="place:sort=8&amp;maxResults=10" ADD_DATE="1700000004">Most Visited</A>
    </DL><p>
    <DT><A HREF="https://example.jp/a?b=1&amp;c=2" ADD_DATE="1700000005">A &lt;tag&gt;
      &#x1F600; &#12354; name</A>
    <DD>a description that is no title
    <HR>
    <DT><H3>Empty</H3>
    <DL><p>
    </DL><p>
</DL>
)";

const char kChrome[] = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="0" PERSONAL_TOOLBAR_FOLDER="true">ブックマーク バー</H3>
    <DL><p>
        <DT><A HREF="https://www.google.co.jp/" ADD_DATE="1700000006" ICON="data:image/png;base64,x">Google</A>
        <DT><H3 ADD_DATE="1700000007">ニュース</H3>
        <DL><p>
            <DT><A HREF='http://www3.nhk.or.jp/news/'>NHK</A>
        </DL><p>
    </DL><p>
</DL><p>
)";

// Internet Explorer writes its export in the system's code page without saying so.
const char kExplorer[] =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<!-- This is an automatically generated file.\r\nIt will be read and "
    "overwritten.\r\nDo Not Edit! -->\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
    "    <DT><H3 FOLDED ADD_DATE=\"1100000000\">リンク</H3>\r\n    <DL><p>\r\n"
    "        <DT><A HREF=\"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=CLinks\" ADD_DATE=\"1100000001\" "
    "LAST_VISIT=\"1100000002\">無料のHotmail</A>\r\n    </DL><p>\r\n"
    "    <DT><A HREF=\"http://www.yahoo.co.jp/\">Yahoo! JAPAN</A>\r\n</DL><p>\r\n";

TEST(BookmarkFile, ReadsTheExportsOfTheCommonBrowsersInTheirEncodings) {
  EXPECT_EQ(ReadBookmarkFile(kFirefox),
            (std::vector<BookmarkItem>{Folder({}, "Bookmarks Toolbar", 1700000000),
                                       Link({"Bookmarks Toolbar"}, "Mozilla & 日本語", "https://www.mozilla.org/ja/", 1700000002),
                                       Link({}, "A <tag> \xF0\x9F\x98\x80 あ name", "https://example.jp/a?b=1&c=2", 1700000005),
                                       Folder({}, "Empty")}));
  EXPECT_EQ(ReadBookmarkFile(kChrome),
            (std::vector<BookmarkItem>{Folder({}, "ブックマーク バー", 1700000000),
                                       Link({"ブックマーク バー"}, "Google", "https://www.google.co.jp/", 1700000006),
                                       Folder({"ブックマーク バー"}, "ニュース", 1700000007),
                                       Link({"ブックマーク バー", "ニュース"}, "NHK", "http://www3.nhk.or.jp/news/")}));
  const auto explorer = std::vector<BookmarkItem>{
      Folder({}, "リンク", 1100000000),
      Link({"リンク"}, "無料のHotmail", "http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=CLinks", 1100000001),
      Link({}, "Yahoo! JAPAN", "http://www.yahoo.co.jp/")};
  EXPECT_EQ(ReadBookmarkFile(Utf8ToCp932(kExplorer)), explorer);
  // A META charset decides over the bytes; a UTF-8 byte-order mark over everything.
  EXPECT_EQ(ReadBookmarkFile("<META CONTENT=\"text/html; charset=Shift_JIS\">" + Utf8ToCp932(kExplorer)), explorer);
  EXPECT_EQ(ReadBookmarkFile(std::string("\xEF\xBB\xBF") + kExplorer), explorer);
  EXPECT_EQ(ReadBookmarkFile(kExplorer), explorer);
  // Unclosed lists and broken markup end the reading without harm.
  EXPECT_EQ(ReadBookmarkFile("<DL><DT><H3>a</H3><DL><DT><A HREF=\"http://x/\">x"),
            (std::vector<BookmarkItem>{Folder({}, "a"), Link({"a"}, "x", "http://x/")}));
  EXPECT_TRUE(ReadBookmarkFile("<DL><DT><A HREF=\"\">no address</A></DL></DL><A").empty());
}

TEST(FavoritesImport, TitlesBecomeNamesTheFileSystemTakes) {
  const std::pair<std::string, std::string> cases[] = {
      {"a/b:c*d?e\"f<g>h|i\\j", "a_b_c_d_e_f_g_h_i_j"}, {"  dots and blanks. . ", "dots and blanks"},
      {"", "無題"}, {"..", "無題"}, {"CON", "CON_"}, {"lpt3.url", "lpt3.url_"}, {"COM10", "COM10"},
      {"tab\there", "tab_here"}, {std::string(200, 'x'), std::string(120, 'x')},
      {std::string(119, 'x') + "あい", std::string(119, 'x') + "あ"},
  };
  for (const auto& [title, name] : cases) EXPECT_EQ(FavoriteFileName(title), name) << title;
}

TEST(FavoritesImport, AddsFoldersAndShortcutsWithoutReplacingAnythingThere) {
  SimMachine m;
  m.CreateFile(kFavorites + "\\Bookmarks Toolbar\\Mozilla & 日本語.url", "[InternetShortcut]\r\nURL=https://other.example/\r\n");
  m.CreateFile(kFavorites + "\\Empty", "a file where a folder should go");
  m.CreateFile(kFavorites + "\\A _tag_ あ name.url", "[InternetShortcut]\r\nURL=https://example.jp/a?b=1&c=2\r\n");
  auto items = ReadBookmarkFile(kFirefox);
  items[2].name = "A <tag> あ name";
  items.push_back(Link({}, "漢字のURL", "http://例え.jp/パス\xF0\x9F\x98\x80?q=1"));
  const auto result = ImportBookmarks(m.files, kFavorites, items);
  EXPECT_EQ(result.added, 2);
  EXPECT_EQ(result.present, 1);
  EXPECT_TRUE(result.failed.empty());
  EXPECT_EQ(m.ReadFile(kFavorites + "\\Bookmarks Toolbar\\Mozilla & 日本語.url"),
            "[InternetShortcut]\r\nURL=https://other.example/\r\n");
  EXPECT_EQ(m.ReadFile(kFavorites + "\\Bookmarks Toolbar\\Mozilla & 日本語 (2).url"),
            "[InternetShortcut]\r\nURL=https://www.mozilla.org/ja/\r\n");
  EXPECT_EQ(m.files.ModifiedTime(kFavorites + "\\Bookmarks Toolbar\\Mozilla & 日本語 (2).url"), 1700000002);
  EXPECT_TRUE(m.files.IsDirectory(kFavorites + "\\Empty (2)"));
  EXPECT_EQ(m.ReadFile(kFavorites + "\\漢字のURL.url"),
            Utf8ToCp932("[InternetShortcut]\r\nURL=http://例え.jp/パス%F0%9F%98%80?q=1\r\n"));
  // Importing again finds everything in place.
  const auto again = ImportBookmarks(m.files, kFavorites, items);
  EXPECT_EQ(again.added, 0);
  EXPECT_EQ(again.present, 3);
}

TEST(FavoritesImport, WhatTheBackupWroteComesBackAsTheSameFavorites) {
  SimMachine m;
  const std::string source = "C:\\Source\\Favorites";
  m.CreateFile(source + "\\Links\\Vorn.url", "[InternetShortcut]\r\nURL=http://example.jp/vorn\r\n");
  m.CreateFile(source + "\\ニュース.url", "[DEFAULT]\r\nBASEURL=x\r\n[InternetShortcut]\r\nURL=http://example.jp/?a=1&b=2\r\n");
  m.CreateFile(source + "\\深い\\もっと\\底.url", "[InternetShortcut]\r\nURL=http://example.jp/deep\r\n");
  m.files.CreateDirectory(source + "\\空");
  m.files.SetModifiedTime(source + "\\Links\\Vorn.url", 1234567890);
  m.files.CreateDirectory("C:\\Set");
  ASSERT_TRUE(ExportFavoritesToHtml(m.files, source, "C:\\Set\\Favorites.htm"));
  FavoritesImportResult result;
  ASSERT_TRUE(ImportFavoritesHtml(m.files, "C:\\Set\\Favorites.htm", kFavorites, result));
  EXPECT_EQ(result.added, 3);
  EXPECT_EQ(m.ReadFile(kFavorites + "\\Links\\Vorn.url"), "[InternetShortcut]\r\nURL=http://example.jp/vorn\r\n");
  EXPECT_EQ(m.files.ModifiedTime(kFavorites + "\\Links\\Vorn.url"), 1234567890);
  EXPECT_EQ(m.ReadFile(kFavorites + "\\ニュース.url"), Utf8ToCp932("[InternetShortcut]\r\nURL=http://example.jp/?a=1&b=2\r\n"));
  EXPECT_TRUE(m.files.Exists(kFavorites + "\\深い\\もっと\\底.url"));
  EXPECT_TRUE(m.files.IsDirectory(kFavorites + "\\空"));
  EXPECT_FALSE(ImportFavoritesHtml(m.files, "C:\\Set\\none.htm", kFavorites, result));
}

TEST(FavoritesImport, AShortcutThatCannotBeWrittenIsNamedAndLeavesNoPartialFile) {
  SimMachine m;
  FaultyFileSystem faulty(m.files);
  faulty.freeBytes = 10;
  const auto result = ImportBookmarks(faulty, kFavorites, {Link({}, "x", "http://example.jp/")});
  EXPECT_EQ(result.failed, std::vector<std::string>{kFavorites + "\\x.url"});
  EXPECT_FALSE(m.files.Exists(kFavorites + "\\x.url"));
}

}  // namespace
}  // namespace vorn
