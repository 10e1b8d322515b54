#include "tools/favorites_relocation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/tool_machine.h"

namespace vorn::test {
namespace {

using Names = std::vector<std::string>;

class FavoritesScene {
 public:
  explicit FavoritesScene(bool nt = true) : t(nt) {
    profile = nt ? t.m.profile : "";
    old = nt ? profile + "\\Favorites" : "C:\\WINDOWS\\Favorites";
    SetStored(nt ? "%USERPROFILE%\\Favorites" : old);
    t.m.CreateFile(old + "\\Yahoo! JAPAN.url", "yahoo");
    t.m.CreateFile(old + "\\天気予報.url", "weather");
    t.m.CreateFile(old + "\\ニュース\\NHK ニュース.url", "nhk");
    t.m.CreateFile(old + "\\ニュース\\深い\\x.url", "deep");
    t.m.files.CreateDirectory("D:");
  }
  void SetStored(const std::string& value) {
    t.m.app->reg.RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", value);
  }
  void Pick(const std::string& picked) {
    t.m.ui.pickedFolders = {picked};
    RunContext context = t.Context();
    shown = old;
    RelocateFavorites(context, shown);
  }
  std::optional<RegValue> Stored() {
    return t.m.registry.ReadValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites");
  }
  std::string StoredText() { return t.m.app->reg.RegReadText(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites"); }
  // The whole Favorites, as texts "relative path=content".
  Names Content(const std::string& folder) {
    Names found;
    std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& path,
                                                                            const std::string& prefix) {
      for (const auto& entry : t.files.List(path, "*")) {
        if (entry.isDirectory) {
          walk(path + "\\" + entry.name, prefix + entry.name + "\\");
        } else {
          found.push_back(prefix + entry.name + "=" + t.m.ReadFile(path + "\\" + entry.name));
        }
      }
    };
    walk(folder, "");
    std::sort(found.begin(), found.end());
    return found;
  }
  const Names kAll = {"Yahoo! JAPAN.url=yahoo", "ニュース\\NHK ニュース.url=nhk", "ニュース\\深い\\x.url=deep",
                      "天気予報.url=weather"};
  void ExpectUnchanged(const std::string& why) {
    EXPECT_EQ(Content(old), kAll) << why;
    EXPECT_EQ(shown, old) << why;
  }

  ToolMachine t;
  std::string profile, old, shown;
};

class FavoritesTest : public ::testing::Test, public FavoritesScene {};

TEST_F(FavoritesTest, MovesEverythingAndStoresTheNewFolder) {
  struct Case {
    std::string picked, folder;
    RegValue stored;
  };
  auto sz = [](const std::string& text, uint32_t type = regtype::kSz) {
    RegValue value{type, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
  };
  const std::vector<Case> cases = {
      {"D:\\Data", "D:\\Data\\Favorites", sz("D:\\Data\\Favorites")},
      {profile + "\\Docs", profile + "\\Docs\\Favorites", sz("%USERPROFILE%\\Docs\\Favorites", regtype::kExpandSz)},
      {"D:\\", "D:\\Favorites", sz("D:\\Favorites")},
  };
  for (const auto& c : cases) {
    t.files.CreateDirectory(c.picked);
    Pick(c.picked);
    EXPECT_EQ(t.m.ui.folderRequests.back().title, "お気に入りの保存場所変更\r\n現在のお気に入りフォルダを移動します");
    EXPECT_EQ(t.m.ui.folderRequests.back().initialFolder, old);
    EXPECT_EQ(shown, c.folder);
    EXPECT_EQ(Content(c.folder), kAll) << c.folder;
    EXPECT_FALSE(t.files.Exists(old)) << c.folder;
    EXPECT_EQ(Stored(), c.stored) << c.folder;
    EXPECT_EQ(t.m.ui.messages.back().text, "お気に入りを移動しました。\r\n" + c.folder);
    EXPECT_EQ(t.m.ui.messages.back().icon, MsgIcon::Information);
    old = c.folder;
  }
}

TEST(FavoritesLinks, ALinkAtAnyLevelIsNeverCopiedNorEmptiedAcrossDrives) {
  namespace fs = std::filesystem;
  for (const std::string level : {"\\Shared", "\\ニュース\\Shared"}) {
    FavoritesScene s;
    s.t.m.CreateFile("C:\\Project\\plan.txt", "plan");
    fs::create_symlink(s.t.files.HostPath("C:\\Project"), s.t.files.HostPath(s.old + level));
    const std::string before = s.StoredText();
    s.t.files.CreateDirectory("D:\\Data");
    s.Pick("D:\\Data");
    EXPECT_EQ(s.t.Read("C:\\Project\\plan.txt"), "plan") << level;
    EXPECT_TRUE(fs::is_symlink(s.t.files.HostPath(s.old + level))) << level;
    EXPECT_EQ(s.StoredText(), before) << level;
    EXPECT_FALSE(s.t.files.Exists("D:\\Data\\Favorites")) << level;
    EXPECT_EQ(s.t.m.ui.messages.back().icon, MsgIcon::Critical) << level;
  }
}

TEST(FavoritesOn98, TheDriveRootStoresThePlainPath) {
  FavoritesScene s(false);
  s.Pick("D:\\");
  EXPECT_EQ(s.StoredText(), "D:\\Favorites");
  EXPECT_EQ(s.Stored()->type, regtype::kSz);
  EXPECT_EQ(s.Content("D:\\Favorites"), s.kAll);
}

TEST_F(FavoritesTest, RefusalsAndChoicesThatChangeNothing) {
  const std::string refusal = "Favorites フォルダを移動できません。受け側のフォルダは、送り側フォルダのサブフォルダです。";
  for (const std::string& picked : {old + "2", old + "\\ニュース", profile + "\\FAVORITES\\ニュース"}) {
    t.m.ui.messages.clear();
    Pick(picked);
    ExpectUnchanged(picked);
    ASSERT_EQ(t.m.ui.messages.size(), 1u) << picked;
    EXPECT_EQ(t.m.ui.messages[0].text, refusal);
    EXPECT_EQ(t.m.ui.messages[0].title, "エラー");
  }
  t.m.ui.messages.clear();
  for (const std::string& picked : {std::string(), old, profile}) {  // cancel, the folder itself, its parent
    Pick(picked);
    EXPECT_EQ(Content(old), kAll) << picked;
  }
  EXPECT_TRUE(t.m.ui.messages.empty());
  EXPECT_EQ(StoredText(), "%USERPROFILE%\\Favorites");

  t.m.registry.DeleteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites");
  Pick("D:\\Data");
  EXPECT_EQ(t.m.ui.messages.back().text, refusal);
  EXPECT_EQ(Content(old), kAll);
}

TEST_F(FavoritesTest, NamesAtTheNewFolderAreKeptAndTheMovedOnesTakeFreeNames) {
  t.m.CreateFile("D:\\Data\\Favorites\\天気予報.url", "mine");
  t.m.CreateFile("D:\\Data\\Favorites\\天気予報 (2).url", "mine too");
  t.m.CreateFile("D:\\Data\\Favorites\\ニュース\\own.url", "own");
  Pick("D:\\Data");
  EXPECT_EQ(Content("D:\\Data\\Favorites"),
            (Names{"Yahoo! JAPAN.url=yahoo", "ニュース (2)\\NHK ニュース.url=nhk", "ニュース (2)\\深い\\x.url=deep",
                   "ニュース\\own.url=own", "天気予報 (2).url=mine too", "天気予報 (3).url=weather", "天気予報.url=mine"}));
  EXPECT_EQ(StoredText(), "D:\\Data\\Favorites");
  EXPECT_EQ(t.m.ui.messages.back().text,
            "お気に入りを移動しました。\r\nD:\\Data\\Favorites\r\n\r\n同じ名前があったため、次の名前で移動しました:\r\n"
            "  天気予報.url → 天気予報 (3).url\r\n  ニュース → ニュース (2)");
}

TEST(FavoritesFailures, WhatMovedGoesBackAndTheSettingStays) {
  using Inject = std::function<void(FavoritesScene&)>;
  const std::vector<std::pair<const char*, Inject>> cases = {
      {"a folder can be neither renamed nor copied whole",
       [](FavoritesScene& s) {
         s.t.files.onMove = [](const std::string& from, const std::string&) -> std::optional<FsResult> {
           if (from.ends_with("ニュース")) return FsResult::AccessDenied;
           return std::nullopt;
         };
         s.t.files.onCopy = [](const std::string& from, const std::string&) -> std::optional<FsResult> {
           if (from.ends_with("x.url")) return FsResult::Failed;
           return std::nullopt;
         };
       }},
      {"the setting cannot be written",
       [](FavoritesScene& s) { s.t.m.registry.DenyWrites(RegRoot::CurrentUser, kUserShellFoldersKey); }},
  };
  for (const auto& [what, inject] : cases) {
    for (const std::string picked : {"D:\\Data", "C:\\Data"}) {  // copied across drives, renamed on one
      FavoritesScene s;
      s.t.m.CreateFile("D:\\Data\\Favorites\\天気予報.url", "mine");
      s.t.m.CreateFile("C:\\Data\\Favorites\\天気予報.url", "mine");
      inject(s);
      s.Pick(picked);
      s.ExpectUnchanged(what);
      EXPECT_EQ(s.Content(picked + "\\Favorites"), Names{"天気予報.url=mine"}) << what << picked;
      EXPECT_EQ(s.StoredText(), "%USERPROFILE%\\Favorites") << what;
      ASSERT_FALSE(s.t.m.ui.messages.empty());
      EXPECT_NE(s.t.m.ui.messages.back().text.find("移動したものは元に戻しました。"), std::string::npos) << what;
      EXPECT_EQ(s.t.m.ui.messages.back().icon, MsgIcon::Critical);
    }
  }
}

TEST(FavoritesFailures, AnOriginalThatCannotBeRemovedStaysAsACopyAndIsNamed) {
  FavoritesScene s;
  const std::string busy = s.old + "\\天気予報.url";
  s.t.files.MarkInUse(busy);
  s.Pick("D:\\Data");
  EXPECT_EQ(s.Content("D:\\Data\\Favorites"), s.kAll);
  EXPECT_EQ(s.StoredText(), "D:\\Data\\Favorites");
  EXPECT_EQ(s.Content(s.old), Names{"天気予報.url=weather"});
  EXPECT_EQ(s.t.m.ui.messages.back().icon, MsgIcon::Warning);
  EXPECT_NE(s.t.m.ui.messages.back().text.find("  " + busy), std::string::npos);
}

}  // namespace
}  // namespace vorn::test
