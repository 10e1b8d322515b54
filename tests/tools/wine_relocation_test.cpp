// The maintenance tools over the real file system, registry and shell under Wine. The drive named
// by VORN_OTHER_DRIVE (set up by wine_relocation_test.sh) lies on another file system, so a rename
// cannot reach it and every move there goes by copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "core/environment_discovery.h"
#include "platform/sim/sim_ui_services.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include <shlobj.h>
#include "tools/address_book_relocation.h"
#include "tools/favorites_relocation.h"
#include "tools/file_moves.h"
#include "tools/temp_file_cleanup.h"

namespace vorn {
namespace {

using Names = std::vector<std::string>;

// Keeps a registry value as it was before the test.
class SavedValue {
 public:
  SavedValue(RegistryStore& store, std::string key, std::string name)
      : store_(store), key_(std::move(key)), name_(std::move(name)), value_(store.ReadValue(RegRoot::CurrentUser, key_, name_)) {}
  ~SavedValue() {
    if (value_) {
      store_.WriteValue(RegRoot::CurrentUser, key_, name_, *value_);
    } else {
      store_.DeleteValue(RegRoot::CurrentUser, key_, name_);
    }
  }

 private:
  RegistryStore& store_;
  std::string key_, name_;
  std::optional<RegValue> value_;
};

// A file another program holds open without sharing it, as long as this lives.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { CloseHandle(handle_); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class WineTools : public ::testing::Test {
 protected:
  WineTools() {
    const char* drive = std::getenv("VORN_OTHER_DRIVE");
    other = drive ? drive : "";
    DetectOsFamily(environment, env);
    DetectDesktop(environment, env);
    LoadEnvironment(environment, reg, env);
    wchar_t temp[MAX_PATH];
    base = Narrow(std::wstring(temp, GetTempPathW(MAX_PATH, temp))) + "VornTools";
    Clean();
    files.CreateDirectory(base);
  }
  ~WineTools() override { Clean(); }
  void Clean() {
    DeleteTree(files, base);
    if (!other.empty()) DeleteTree(files, other + "\\Vorn");
  }
  void SetUp() override { ASSERT_FALSE(other.empty()) << "VORN_OTHER_DRIVE names no drive: run wine_relocation_test.sh"; }

  RunContext Context() { return RunContext(app, 0); }
  // The user picks `folder` in the tool's folder picker; returns what the window's text box shows.
  std::string Pick(const std::string& folder, void (*tool)(RunContext&, std::string&)) {
    RunContext context = Context();
    ui.pickedFolders = {folder};
    std::string shown;
    tool(context, shown);
    return shown;
  }
  void Write(const std::string& path, const std::string& content) {
    CreateFolderPathForTest(path.substr(0, path.rfind('\\')));
    auto out = files.OpenWrite(path);
    ASSERT_NE(out, nullptr) << path;
    out->Write(content.data(), content.size());
    ASSERT_TRUE(out->Close());
  }
  void CreateFolderPathForTest(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
      files.CreateDirectory(folder.substr(0, at));
    files.CreateDirectory(folder);
  }
  std::string Read(const std::string& path) {
    auto in = files.OpenRead(path);
    if (!in) return "<missing>";
    std::string content(in->Size(), '\0');
    in->Read(content.data(), content.size());
    return content;
  }
  Names Content(const std::string& folder) {
    Names found;
    std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& path,
                                                                            const std::string& prefix) {
      for (const auto& entry : files.List(path, "*")) {
        if (entry.isDirectory) {
          walk(path + "\\" + entry.name, prefix + entry.name + "\\");
        } else {
          found.push_back(prefix + entry.name + "=" + Read(path + "\\" + entry.name));
        }
      }
    };
    walk(folder, "");
    std::sort(found.begin(), found.end());
    return found;
  }

  std::string other;
  SimUiServices ui;
  Win32Platform win32{ui};
  App app{win32.platform};
  Win32RegistryStore& store = win32.registry;
  RegistryAccess& reg = app.reg;
  Win32FileSystem& files = win32.files;
  Win32Environment& environment = win32.environment;
  EnvironmentRecord& env = app.env;
  std::string base;
};

// Windows renames neither files nor folders onto another volume; Wine moves files there by a copy
// of its own, but not folders.
TEST_F(WineTools, FoldersCannotBeRenamedOntoTheOtherDrive) {
  CreateFolderPathForTest(other + "\\Vorn");
  Write(base + "\\Dir\\in.txt", "y");
  EXPECT_NE(files.MoveFile(base + "\\Dir", other + "\\Vorn\\Dir"), FsResult::Ok);
  EXPECT_EQ(Read(base + "\\Dir\\in.txt"), "y");
}

TEST_F(WineTools, AddressBookMovesToTheOtherDriveAndBackOverAFileOfItsName) {
  SavedValue saved(store, kWabFileNameKey, "");
  const std::string wab = base + "\\Address Book\\山田 太郎.wab";
  Write(wab, std::string(5000, 'w') + "アドレス帳");
  reg.RegWriteValue(RegRoot::CurrentUser, kWabFileNameKey, "", wab);

  CreateFolderPathForTest(other + "\\Vorn\\Wab");  // the picker offers only folders that exist
  const std::string moved = other + "\\Vorn\\Wab\\山田 太郎.wab";
  EXPECT_EQ(Pick(other + "\\Vorn\\Wab", RelocateAddressBook), moved);
  EXPECT_EQ(Read(moved), std::string(5000, 'w') + "アドレス帳");
  EXPECT_FALSE(files.Exists(wab));
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, ""), moved);
  EXPECT_EQ(store.ReadValue(RegRoot::CurrentUser, kWabFileNameKey, "")->type, regtype::kSz);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "アドレス帳を移動しました。\r\n" + moved);
  ui.messages.clear();

  Write(base + "\\Back\\山田 太郎.wab", "an older copy");
  ui.answers = {MsgAnswer::Yes};
  Pick(base + "\\Back", RelocateAddressBook);
  EXPECT_EQ(Read(base + "\\Back\\山田 太郎.wab"), std::string(5000, 'w') + "アドレス帳");
  EXPECT_FALSE(files.Exists(moved));
  EXPECT_EQ(Content(base + "\\Back").size(), 1u);
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, ""), base + "\\Back\\山田 太郎.wab");
}

TEST_F(WineTools, AnAddressBookHeldOpenStaysWhereItIs) {
  SavedValue saved(store, kWabFileNameKey, "");
  const std::string wab = base + "\\Address Book\\taro.wab";
  Write(wab, "in use");
  reg.RegWriteValue(RegRoot::CurrentUser, kWabFileNameKey, "", wab);
  {
    HeldFile held(wab);
    ASSERT_TRUE(held.held());
    CreateFolderPathForTest(other + "\\Vorn\\Wab");
    EXPECT_EQ(Pick(other + "\\Vorn\\Wab", RelocateAddressBook), wab);
  }
  EXPECT_EQ(Read(wab), "in use");
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, ""), wab);
  EXPECT_FALSE(files.Exists(other + "\\Vorn\\Wab\\taro.wab"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.starts_with("アドレス帳を移動できませんでした。"));
}

TEST_F(WineTools, FavoritesMoveAcrossDrivesAndTheShellFindsThemBelowTheProfile) {
  SavedValue saved(store, kUserShellFoldersKey, "Favorites");
  ASSERT_FALSE(env.userProfileFolder.empty());
  const std::string favorites = env.userProfileFolder + "\\VornFavorites";
  DeleteTree(files, favorites);
  DeleteTree(files, env.userProfileFolder + "\\VornDocs");
  const Names all = {"Yahoo! JAPAN.url=yahoo", "ニュース\\NHK ニュース.url=nhk", "天気予報.url=weather"};
  Write(favorites + "\\Yahoo! JAPAN.url", "yahoo");
  Write(favorites + "\\天気予報.url", "weather");
  Write(favorites + "\\ニュース\\NHK ニュース.url", "nhk");
  reg.RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", "%USERPROFILE%\\VornFavorites");

  Write(other + "\\Vorn\\Favorites\\天気予報.url", "mine");
  EXPECT_EQ(Pick(other + "\\Vorn", RelocateFavorites), other + "\\Vorn\\Favorites");
  EXPECT_EQ(Content(other + "\\Vorn\\Favorites"), (Names{"Yahoo! JAPAN.url=yahoo", "ニュース\\NHK ニュース.url=nhk",
                                                         "天気予報 (2).url=weather", "天気予報.url=mine"}));
  EXPECT_FALSE(files.Exists(favorites));
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites"), other + "\\Vorn\\Favorites");

  files.DeleteFile(other + "\\Vorn\\Favorites\\天気予報.url");
  files.MoveFile(other + "\\Vorn\\Favorites\\天気予報 (2).url", other + "\\Vorn\\Favorites\\天気予報.url");
  const std::string docs = env.userProfileFolder + "\\VornDocs";
  files.CreateDirectory(docs);
  Pick(docs, RelocateFavorites);
  EXPECT_EQ(Content(docs + "\\Favorites"), all);
  EXPECT_FALSE(files.Exists(other + "\\Vorn\\Favorites"));
  auto stored = store.ReadValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, regtype::kExpandSz);
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites"), "%USERPROFILE%\\VornDocs\\Favorites");
  wchar_t shell[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, SHGFP_TYPE_CURRENT, shell), S_OK);
  EXPECT_TRUE(SamePath(NarrowZ(shell), docs + "\\Favorites")) << NarrowZ(shell);
  DeleteTree(files, docs);
}

TEST_F(WineTools, AFavoriteThatCannotBeCopiedPutsEverythingBack) {
  SavedValue saved(store, kUserShellFoldersKey, "Favorites");
  const std::string favorites = base + "\\Favorites";
  Write(favorites + "\\a.url", "a");
  Write(favorites + "\\Sub\\b.url", "b");
  Write(favorites + "\\Sub\\c.url", "c");
  reg.RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", favorites);
  {
    HeldFile held(favorites + "\\Sub\\c.url");
    ASSERT_TRUE(held.held());
    CreateFolderPathForTest(other + "\\Vorn");
    EXPECT_EQ(Pick(other + "\\Vorn", RelocateFavorites), favorites);
  }
  EXPECT_EQ(Content(favorites), (Names{"Sub\\b.url=b", "Sub\\c.url=c", "a.url=a"}));
  EXPECT_FALSE(files.Exists(other + "\\Vorn\\Favorites"));
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites"), favorites);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "お気に入りを移動できませんでした: Sub\r\n移動したものは元に戻しました。");
}

TEST_F(WineTools, TemporaryFilesOfTheRealCache) {
  SavedValue saved(store, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Cache");
  reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    "Cache", base + "\\Cache");
  Write(base + "\\Cache\\Content.IE5\\AB12\\empty[1].gif", "");
  Write(base + "\\Cache\\Content.IE5\\AB12\\full[1].htm", "<html>");
  Write(base + "\\Cache\\Content.IE5\\index.dat", "");
  RunContext context = Context();
  EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 1);
  EXPECT_EQ(Content(base + "\\Cache"), (Names{"Content.IE5\\AB12\\full[1].htm=<html>", "Content.IE5\\index.dat="}));
}

}  // namespace
}  // namespace vorn
