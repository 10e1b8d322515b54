#include <gtest/gtest.h>

#include <filesystem>

#include "restore/address_book_restore.h"
#include "restore/favorites_restore.h"
#include "tests/regedit/reg_test_support.h"
#include "tests/restore/restore_fixture.h"

namespace vorn {
namespace {

class AddressBook : public ::testing::Test {
 protected:
  AddressBook() {
    wab_ = f_.reg.RegReadText(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "");
    folder_ = wab_.substr(0, wab_.rfind('\\'));
    f_.m.CreateFile(kSetFolder + "\\Wab\\hanako.wab", "the set's address book");
  }
  RestoreFixture f_;
  std::string wab_, folder_;
};

TEST_F(AddressBook, YesPutsTheSetsFileInPlaceAndKeepsTheCurrentOneUnderTheNextFreeSafetyName) {
  f_.m.CreateFile(folder_ + "\\taro.dat", "an earlier safety copy");
  ReWab(f_.run);
  ASSERT_EQ(f_.m.ui.messages.size(), 1u);
  const MessageSpec& question = f_.m.ui.messages[0];
  EXPECT_EQ(question.text, "アドレス帳をインポートしますか？\u3000\u3000\u3000");
  EXPECT_EQ(question.title, "アドレス帳の復元");
  EXPECT_EQ(question.buttons, MsgButtons::YesNo);
  EXPECT_EQ(question.icon, MsgIcon::Question);
  EXPECT_TRUE(question.foreground);
  EXPECT_FALSE(question.helpButton);
  EXPECT_EQ(f_.m.ReadFile(wab_), "the set's address book");
  EXPECT_EQ(f_.m.ReadFile(folder_ + "\\taro.dat"), "an earlier safety copy");
  EXPECT_EQ(f_.m.ReadFile(folder_ + "\\taro (2).dat"), "wab");
  // The set stays as the backup made it.
  EXPECT_EQ(f_.m.Tree(kSetFolder + "\\Wab"), (std::map<std::string, std::string>{{"hanako.wab", "the set's address book"}}));
  EXPECT_TRUE(f_.report.failures.empty());
}

TEST_F(AddressBook, NoOrNoFileInTheSetLeavesTheAddressBookAlone) {
  f_.m.ui.answers = {MsgAnswer::No};
  ReWab(f_.run);
  EXPECT_EQ(f_.m.ReadFile(wab_), "wab");
  std::filesystem::remove_all(f_.m.files.HostPath(kSetFolder + "\\Wab"));
  f_.m.files.CreateDirectory(kSetFolder + "\\Wab");
  ReWab(f_.run);
  EXPECT_EQ(f_.m.ui.messages.size(), 1u);
  EXPECT_EQ(f_.m.ReadFile(wab_), "wab");
  EXPECT_EQ(f_.m.files.List(folder_, "*").size(), 1u);
}

TEST_F(AddressBook, FilesOfTheShellAreNoAddressBookAndASetWithTwoIsSkippedAndReported) {
  const std::pair<std::string, bool> extras[] = {{"Thumbs.db", true}, {"desktop.ini", true}, {"other.wab", false}};
  for (const auto& [extra, restored] : extras) {
    SCOPED_TRACE(extra);
    RestoreFixture f;
    f.m.CreateFile(kSetFolder + "\\Wab\\hanako.wab", "the set's address book");
    f.m.CreateFile(kSetFolder + "\\Wab\\" + extra, "x");
    if (extra == "Thumbs.db") f.m.files.SetAttributes(kSetFolder + "\\Wab\\" + extra, fileattr::kHidden | fileattr::kSystem);
    ReWab(f.run);
    EXPECT_EQ(f.m.ReadFile(wab_), restored ? "the set's address book" : "wab");
    EXPECT_EQ(f.report.failures.size(), restored ? 0u : 1u);
  }
}

TEST_F(AddressBook, AFailedCopyPutsTheCurrentAddressBookBack) {
  OnFaultyDisk disk(f_);
  FaultyFileSystem& faulty = disk.files;
  faulty.freeBytes = 5;
  ReWab(disk.run);
  EXPECT_EQ(f_.m.ReadFile(wab_), "wab");
  EXPECT_EQ(f_.m.files.List(folder_, "*").size(), 1u);
  EXPECT_EQ(disk.report.failures.size(), 1u);
  // A set that cannot be changed restores all the same.
  faulty.freeBytes.reset();
  faulty.refuseMove = [](const std::string& from, const std::string&) { return from.find("Sets") != std::string::npos; };
  ReWab(disk.run);
  EXPECT_EQ(f_.m.ReadFile(wab_), "the set's address book");
  EXPECT_TRUE(f_.m.files.Exists(kSetFolder + "\\Wab\\hanako.wab"));
}

class Favorites : public ::testing::Test {
 protected:
  Favorites() {
    favorites_ = f_.m.profile + "\\Favorites";
    SetValue("%USERPROFILE%\\Favorites");
    f_.m.CreateFile(favorites_ + "\\old.url", "old");
    f_.m.CreateFile(favorites_ + "\\Old Folder\\x.url", "old x");
    f_.m.CreateFile(favorites_ + "\\kept.url", "read-only");
    f_.m.files.SetAttributes(favorites_ + "\\kept.url", fileattr::kReadOnly);
    f_.m.CreateFile(favorites_ + "\\Links\\Vorn.url", "current Vorn");
    f_.m.CreateFile(kSetFolder + "\\Favorites\\Links\\Vorn.url", "set Vorn");
    f_.m.CreateFile(kSetFolder + "\\Favorites\\ニュース.url", "set news");
  }
  void SetValue(const std::string& value) {
    f_.m.registry.WriteValue(RegRoot::CurrentUser,
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Favorites",
                             regtest::Sz(value));
  }
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : f_.m.files.List(folder, "*")) names.push_back(entry.name);
    return names;
  }
  RestoreFixture f_;
  std::string favorites_;
};

TEST_F(Favorites, YesReplacesTheFavoritesOnlyOnceTheCopyIsCompleteAndKeepsReadOnlyOnes) {
  for (const char* kept : {"\\Old Folder\\mine.url", "\\Links\\mine.url"}) {
    f_.m.CreateFile(favorites_ + kept, "read-only");
    f_.m.files.SetAttributes(favorites_ + kept, fileattr::kReadOnly);
  }
  ReFavorites(f_.run);
  ASSERT_EQ(f_.m.ui.messages.size(), 1u);
  EXPECT_EQ(f_.m.ui.messages[0].text,
            "お気に入りファイルを復元します。既存のお気に入りファイルを削除しますか？\r\n\r\n"
            "             はい：削除して復元  いいえ：上書きで復元");
  EXPECT_EQ(f_.m.ui.messages[0].title, "確認");
  EXPECT_EQ(f_.m.ui.messages[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "ニュース.url"}));
  EXPECT_EQ(Names(favorites_ + "\\Old Folder"), std::vector<std::string>{"mine.url"});
  EXPECT_EQ(Names(favorites_ + "\\Links"), (std::vector<std::string>{"Vorn.url", "mine.url"}));
  EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\Links\\Vorn.url"), "set Vorn");
  EXPECT_TRUE(f_.report.failures.empty());
  EXPECT_EQ(f_.m.ui.waitCursor, (std::vector<bool>{true, false}));
  // Nothing is left beside the folder.
  for (const auto& name : Names(f_.m.profile)) EXPECT_EQ(name.find("~vorn"), std::string::npos) << name;
}

// With the disk full, "はい" leaves the Favorites as they were, "いいえ" copies what fits; both
// report the failure.
TEST_F(Favorites, AFailedCopyIsReported) {
  for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
    f_.m.ui.answers = {answer};
    OnFaultyDisk disk(f_);
    disk.files.freeBytes = 10;
    ReFavorites(disk.run);
    EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "old.url"}));
    if (answer == MsgAnswer::Yes) {
      EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\Links\\Vorn.url"), "current Vorn");
    }
    EXPECT_EQ(disk.report.failures.size(), 1u);
  }
}

// "はい" stages nothing through a Favorites folder that is a link, or lies below one: the
// failure names the link, and the Favorites where it points keep their files.
TEST_F(Favorites, YesRefusesALinkOnTheWayAndNamesIt) {
  namespace fs = std::filesystem;
  for (const std::string& link : {favorites_, f_.m.profile}) {
    const fs::path real = f_.m.files.HostPath("C:\\Real");
    fs::rename(f_.m.files.HostPath(link), real);
    fs::create_directory_symlink(real, f_.m.files.HostPath(link));
    f_.m.ui.answers = {MsgAnswer::Yes};
    f_.run.report = {};
    ReFavorites(f_.run);
    EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "old.url"})) << link;
    EXPECT_EQ(f_.run.report.failures,
              std::vector<std::string>{"お気に入りをコピーできませんでした（リンクのため: " + link + "）。現在のお気に入りはそのままです"});
    fs::remove(f_.m.files.HostPath(link));
    fs::rename(real, f_.m.files.HostPath(link));
  }
}

TEST_F(Favorites, NoCopiesOverTheFavoritesAndCancelLeavesThem) {
  f_.m.ui.answers = {MsgAnswer::Cancel, MsgAnswer::No};
  ReFavorites(f_.run);
  EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "old.url"}));
  ReFavorites(f_.run);
  EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "old.url", "ニュース.url"}));
  EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\Links\\Vorn.url"), "set Vorn");
}

TEST_F(Favorites, ABookmarkFileIsImportedAloneWithoutAQuestion) {
  f_.m.CreateFile(kSetFolder + "\\Favorites.htm",
                  "<DL><p><DT><A HREF=\"http://example.jp/\">example</A><DT><H3>Links</H3><DL><p>"
                  "<DT><A HREF=\"http://example.jp/vorn\">Vorn</A></DL><p></DL><p>");
  ReFavorites(f_.run);
  EXPECT_TRUE(f_.m.ui.messages.empty());
  EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\example.url"), "[InternetShortcut]\r\nURL=http://example.jp/\r\n");
  EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\Links\\Vorn.url"), "current Vorn");
  EXPECT_EQ(f_.m.ReadFile(favorites_ + "\\Links\\Vorn (2).url"), "[InternetShortcut]\r\nURL=http://example.jp/vorn\r\n");
  EXPECT_FALSE(f_.m.files.Exists(favorites_ + "\\ニュース.url"));
}

TEST_F(Favorites, TheFolderComesFromTheShellFolderSetting) {
  const std::pair<std::string, std::string> cases[] = {
      {"%USERPROFILE%\\Favorites", f_.m.profile + "\\Favorites"},
      {"%USERPROFILE%\\お気に入り", f_.m.profile + "\\Favorites"},
      {"%UserProfile%\\Other", f_.m.profile + "\\Other"},
      {"D:\\Favorites", "D:\\Favorites"},
  };
  for (const auto& [value, folder] : cases) {
    SetValue(value);
    EXPECT_EQ(RestoreFavoritesFolder(f_.run), folder) << value;
  }
  RestoreFixture on98(false);
  on98.m.registry.WriteValue(RegRoot::CurrentUser,
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Favorites",
                             regtest::Sz("%USERPROFILE%\\Favorites"));
  EXPECT_EQ(RestoreFavoritesFolder(on98.run), "%USERPROFILE%\\Favorites");
  // Without the setting nothing is deleted or copied.
  f_.m.registry.DeleteValue(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                            "Favorites");
  ReFavorites(f_.run);
  EXPECT_EQ(Names(favorites_), (std::vector<std::string>{"Links", "Old Folder", "kept.url", "old.url"}));
  EXPECT_EQ(f_.report.failures.size(), 1u);
}

}  // namespace
}  // namespace vorn
