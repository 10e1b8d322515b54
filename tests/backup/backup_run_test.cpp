#include "backup/backup_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepage.h"
#include "platform/sim/sim_archiver.h"
#include "tests/backup/backup_machine.h"
#include "tools/address_book_relocation.h"
#include "tools/favorites_relocation.h"
#include "ui/form1.h"

namespace vorn {
namespace {

std::vector<std::string> Names(const FileSystem& files, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : files.List(folder, "*")) names.push_back(entry.name);
  return names;
}

std::string Identity(const std::string& guid) { return "HKEY_CURRENT_USER\\Identities\\{" + guid + "}\\Software\\Microsoft"; }

TEST(BackupRun, DefaultRunOnXpWritesTheWholeSetAndLeavesTempAsItWas) {
  BackupMachine b;
  b.m.CreateFile(b.temp + "\\other.reg", "belongs to another program");
  b.m.CreateFile(b.temp + "\\VornReg\\old.txt", "an older folder of that name");
  b.StartAndPick();
  Form1& form = b.m.app->form1();
  std::vector<bool> busyDuringExports;
  auto exportFiles = b.m.registryEditor.onRun;
  b.m.registryEditor.onRun = [&](const std::string& line) {
    busyDuringExports.push_back(form.Busy() && !form.Command1[0].enabled && !form.Command1[1].enabled);
    exportFiles(line);
  };
  b.PressOk();

  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Mail"),
            (std::vector<std::string>{"Folders.dbx", "Sent Items.dbx", "受信トレイ.dbx"}));
  EXPECT_EQ(b.SetFile("Mail\\受信トレイ.dbx"), "mail of 受信トレイ.dbx");
  EXPECT_FALSE(b.SetHas("Mail.lzh"));
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Reg"),
            (std::vector<std::string>{"Account.reg", "FavoOrder.reg", "Locations.reg", "OE.reg", "Remote.reg", "Sig.reg",
                                      "VornInfo.dat"}));
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Wab"), std::vector<std::string>{"taro.wab"});
  EXPECT_TRUE(b.SetHas("Favorites.htm"));
  EXPECT_FALSE(b.SetHas("Favorites"));
  EXPECT_EQ(Names(b.m.files, b.UserFolder()), (std::vector<std::string>{"Favorites.htm", "Mail", "Reg", "Wab"}));

  // Neither phonebook exists on this machine: the one message of a default run.
  ASSERT_EQ(b.m.ui.messages.size(), 1u);
  EXPECT_EQ(b.m.ui.messages[0].text, "ダイアルアップの設定を保存できませんでした。");
  EXPECT_EQ(b.m.ui.messages[0].title, "ERROR");
  EXPECT_EQ(b.m.ui.messages[0].icon, MsgIcon::None);
  EXPECT_FALSE(b.m.ui.messages[0].helpButton);

  ASSERT_EQ(b.m.processes.started.size(), 1u);
  EXPECT_EQ(b.m.processes.started[0].commandLine,
            "C:\\WINDOWS\\system32\\rundll32.exe url.dll,FileProtocolHandler " + b.desktop + "\\Vorn_bkup");
  EXPECT_EQ(b.m.processes.started[0].style, WindowStyle::Normal);
  EXPECT_EQ(b.m.ui.flashed.size(), 1u);
  EXPECT_EQ(b.m.ui.beeps, 1);

  EXPECT_EQ(busyDuringExports, std::vector<bool>(6, true));
  EXPECT_FALSE(form.Busy());
  EXPECT_TRUE(form.Command1[0].enabled && form.Command1[1].enabled);
  ASSERT_FALSE(b.m.ui.waitCursor.empty());
  EXPECT_TRUE(b.m.ui.waitCursor.front());
  EXPECT_FALSE(b.m.ui.waitCursor.back());

  EXPECT_EQ(b.m.ReadFile(b.temp + "\\other.reg"), "belongs to another program");
  EXPECT_EQ(Names(b.m.files, b.temp), (std::vector<std::string>{"VornReg", "other.reg"}));
  EXPECT_EQ(Names(b.m.files, b.temp + "\\VornReg"), std::vector<std::string>{"old.txt"});
}

TEST(BackupRun, ClicksQueuedDuringTheRunCannotSwitchTheUserBeingSaved) {
  BackupMachine b;
  b.m.CreateFile(b.StoreRoot(kHanakoGuid) + "\\受信トレイ.dbx", "hanako's mail");
  b.StartAndPick(0);
  Form1& form = b.m.app->form1();
  bool frameDisabled = false;
  b.m.ui.pendingEvents.push_back([&] {
    frameDisabled = !form.Frame1.enabled;
    form.List1_Click(1);
    form.Option1_Click(Form1::kRestoreMode);
  });
  b.PressOk();
  EXPECT_TRUE(frameDisabled);
  EXPECT_TRUE(form.Frame1.enabled);
  EXPECT_EQ(b.m.app->env.selectedUserName, "taro");
  EXPECT_EQ(b.m.app->env.selectedIdentityGuid, "{" + kTaroGuid + "}");
  EXPECT_EQ(b.m.app->env.storeRootFolder, b.StoreRoot(kTaroGuid));
  EXPECT_EQ(form.List1.selected, 0);
  EXPECT_EQ(form.Option1.selected, Form1::kBackupMode);
  EXPECT_EQ(b.SetFile("Mail\\受信トレイ.dbx"), "mail of 受信トレイ.dbx");
  EXPECT_FALSE(b.m.files.Exists(b.UserFolder("hanako")));
  // Once the run is over the frame takes clicks again.
  form.List1_Click(1);
  EXPECT_EQ(b.m.app->env.selectedUserName, "hanako");
}

TEST(BackupRun, ExportsRunInOrderWithTheirExactCommandsAndKeys) {
  BackupMachine b;
  b.m.CreateFile(b.temp + "\\VornReg\\x");  // taken: the run uses the next free name
  b.StartAndPick();
  b.PressOk();
  const std::string work = b.temp + "\\VornReg1";
  const std::string identity = Identity(kTaroGuid);
  const std::vector<std::string> expected = {
      "Regedit.exe /e " + work + "\\OE.reg " + identity,
      "Regedit.exe /e " + work + "\\Sig.reg \"" + identity + "\\Outlook Express\\5.0\\signatures\"",
      "Regedit.exe /e " + work + "\\Remote.reg HKEY_CURRENT_USER\\RemoteAccess",
      "Regedit.exe /e " + work +
          "\\Locations.reg HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations",
      "Regedit.exe /e " + work + "\\Account.reg \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\"",
      "Regedit.exe /e " + work +
          "\\FavoOrder.reg HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites",
  };
  EXPECT_EQ(b.m.registryEditor.commands, expected);
  EXPECT_FALSE(b.m.files.Exists(work));
  EXPECT_EQ(b.SetFile("Reg\\OE.reg"), "REGEDIT4\r\n\r\n[" + identity + "]\r\n");
}

TEST(BackupRun, AnIdentityWithoutAccountsOfItsOwnKeepsTheSharedAccountExport) {
  BackupMachine b;
  b.keysWithoutExport = {Identity(kTaroGuid) + "\\Internet Account Manager"};
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(b.SetFile("Reg\\Account.reg"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager]\r\n");
}

TEST(BackupRun, AFailedExportLeavesItsSetFileMissingAndTheRunGoesOn) {
  BackupMachine b;
  b.keysWithoutExport = {Identity(kTaroGuid) + "\\Outlook Express\\5.0\\signatures"};
  b.m.CreateFile(b.temp + "\\Sig.reg", "a stale export in TEMP");
  b.StartAndPick();
  b.PressOk();
  EXPECT_FALSE(b.SetHas("Reg\\Sig.reg"));
  EXPECT_TRUE(b.SetHas("Reg\\VornInfo.dat"));
}

TEST(BackupRun, SignaturesAreMultiStringsOnlyWhileOeRegIsExported) {
  BackupMachine b;
  RegistryAccess reg(b.m.registry);
  const std::string key = "Identities\\{" + kTaroGuid + "}\\Software\\Microsoft\\Outlook Express\\5.0\\signatures";
  reg.RegWriteValue(RegRoot::CurrentUser, key + "\\00000000", "text", std::string("一行目\r\n二行目"));
  const std::string longText(1500, 'x');
  reg.RegWriteValue(RegRoot::CurrentUser, key + "\\00000001", "text", longText);
  reg.RegWriteValue(RegRoot::CurrentUser, key + "\\00000002", "file", std::string("C:\\sig.txt"));
  std::map<std::string, uint32_t> typeAtExport;
  auto exportFiles = b.m.registryEditor.onRun;
  b.m.registryEditor.onRun = [&](const std::string& line) {
    auto value = b.m.registry.ReadValue(RegRoot::CurrentUser, key + "\\00000000", "text");
    typeAtExport[ParseExportCommand(line).file.substr(b.temp.size())] = value ? value->type : 0;
    exportFiles(line);
  };
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(typeAtExport["\\VornReg\\OE.reg"], regtype::kMultiSz);
  EXPECT_EQ(typeAtExport["\\VornReg\\Sig.reg"], regtype::kSz);
  auto after = b.m.registry.ReadValue(RegRoot::CurrentUser, key + "\\00000000", "text");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->type, regtype::kSz);
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, key + "\\00000000", "text"), "一行目\r\n二行目");
  // Too long for the reader: left alone instead of being written back empty.
  auto kept = b.m.registry.ReadValue(RegRoot::CurrentUser, key + "\\00000001", "text");
  ASSERT_TRUE(kept);
  EXPECT_EQ(std::string(kept->data.begin(), kept->data.end()), longText + '\0');
  // A file signature gets no text value.
  EXPECT_FALSE(b.m.registry.ReadValue(RegRoot::CurrentUser, key + "\\00000002", "text"));
  EXPECT_FALSE(reg.MultiStringMode());
}

struct PhonebookCase {
  const char* shared;  // nullptr = missing
  const char* own;
  bool sharedCopied, ownCopied, message;
};

class Phonebooks : public ::testing::TestWithParam<PhonebookCase> {};

TEST_P(Phonebooks, AreCopiedWhenPresentAndNotEmpty) {
  const PhonebookCase& c = GetParam();
  BackupMachine b;
  const std::string pbk = "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
  if (c.shared) b.m.CreateFile("C:\\Documents and Settings\\All Users\\Application Data" + pbk, c.shared);
  if (c.own) b.m.CreateFile(b.m.profile + "\\Application Data" + pbk, c.own);
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(b.SetHas("Reg\\rasphone1.pbk"), c.sharedCopied);
  EXPECT_EQ(b.SetHas("Reg\\rasphone2.pbk"), c.ownCopied);
  if (c.sharedCopied) {
    EXPECT_EQ(b.SetFile("Reg\\rasphone1.pbk"), c.shared);
  }
  if (c.ownCopied) {
    EXPECT_EQ(b.SetFile("Reg\\rasphone2.pbk"), c.own);
  }
  EXPECT_EQ(b.m.ui.messages.size(), c.message ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(BackupRun, Phonebooks,
                         ::testing::Values(PhonebookCase{"[shared]", "[own]", true, true, false},
                                           PhonebookCase{"[shared]", nullptr, true, false, false},
                                           PhonebookCase{nullptr, "[own]", false, true, false},
                                           PhonebookCase{"", "[own]", false, true, false},
                                           PhonebookCase{nullptr, "", false, false, false},
                                           PhonebookCase{nullptr, nullptr, false, false, true}));

TEST(BackupRun, DialUpAndFavoritesOrderOffLeaveTheirFilesOut) {
  BackupMachine b;
  b.WriteSetting("Remote", 0);
  b.WriteSetting("FavoOrder", 0);
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Reg"),
            (std::vector<std::string>{"Account.reg", "OE.reg", "Sig.reg", "VornInfo.dat"}));
  EXPECT_TRUE(b.m.ui.messages.empty());
}

TEST(BackupRun, CompressedMailIsOneArchiverCallIntoTheUserFolder) {
  BackupMachine b;
  b.WriteSetting("UnLHA32", 1);
  b.StartAndPick();
  b.PressOk();
  ASSERT_EQ(b.m.archiver.commands.size(), 1u);
  EXPECT_EQ(b.m.archiver.commands[0], "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + b.UserFolder() +
                                          "\\Mail.lzh\" \"C:\\Program Files\\Vorn\\\" \"" + b.StoreRoot(kTaroGuid) +
                                          "\\\" \"*.*\" \"\"");
  EXPECT_FALSE(b.SetHas("Mail"));
  EXPECT_TRUE(b.SetHas("Reg\\VornInfo.dat"));
}

TEST(BackupRun, TheMailArchiveUnpacksToTheStoreRootsFiles) {
  BackupMachine b;
  b.WriteSetting("UnLHA32", 1);
  b.m.CreateFile(b.StoreRoot(kTaroGuid) + "\\Folders.dbx", std::string(200000, 'f') + "end");
  SimArchiver archiver(b.m.files);
  b.m.archiver.onRun = [&](WindowHandle window, const std::string& line, std::string* output, uint32_t size) {
    return archiver.Unlha(window, line, output, size);
  };
  b.StartAndPick();
  b.PressOk();
  ASSERT_TRUE(b.SetHas("Mail.lzh"));
  ASSERT_EQ(archiver.Unlha(0, "x -d1 -y1 \"" + b.UserFolder() + "\\Mail.lzh\" \"C:\\Back\"\\ *.*", nullptr, 0), 0);
  const auto original = Names(b.m.files, b.StoreRoot(kTaroGuid));
  EXPECT_EQ(Names(b.m.files, "C:\\Back"), original);
  for (const auto& name : original)
    EXPECT_EQ(b.m.ReadFile("C:\\Back\\" + name), b.m.ReadFile(b.StoreRoot(kTaroGuid) + "\\" + name)) << name;
}

// A set written before in the other form keeps only the new form, and the old one as long as
// the new one is not complete (an archiver failure, a folder file that could not be copied).
TEST(BackupRun, ASetOfTheOtherMailFormKeepsOnlyTheNewFormOnceItIsComplete) {
  for (bool archiveFirst : {true, false}) {
    for (bool completes : {true, false}) {
      SCOPED_TRACE(std::to_string(archiveFirst) + std::to_string(completes));
      BackupMachine b;
      SimArchiver archiver(b.m.files);
      b.m.archiver.onRun = [&](WindowHandle window, const std::string& line, std::string* output, uint32_t size) {
        return completes || archiveFirst ? archiver.Unlha(window, line, output, size) : 3;
      };
      b.StartAndPick();
      Form1& form = b.m.app->form1();
      form.MnLHA.checked = archiveFirst;
      b.PressOk();
      if (archiveFirst && !completes) {
        b.m.CreateFile(b.UserFolder() + "\\Mail\\受信トレイ.dbx", "older");
        b.m.files.SetAttributes(b.UserFolder() + "\\Mail\\受信トレイ.dbx", fileattr::kReadOnly);
      }
      form.MnLHA.checked = !archiveFirst;
      EXPECT_EQ(b.PressOkEnds(), !completes && !archiveFirst);
      EXPECT_EQ(b.SetHas("Mail.lzh"), archiveFirst != completes);
      EXPECT_EQ(b.SetHas("Mail"), archiveFirst || !completes);
    }
  }
}

TEST(BackupRun, AnArchiverFailureEndsTheProgramBeforeAnyOtherStep) {
  BackupMachine b;
  b.WriteSetting("UnLHA32", 1);
  b.m.archiver.result = 3;
  b.StartAndPick();
  EXPECT_TRUE(b.PressOkEnds());
  ASSERT_EQ(b.m.ui.messages.size(), 1u);
  EXPECT_EQ(b.m.ui.messages[0].text, "正常に処理を完了できませんでした。");
  EXPECT_EQ(b.m.ui.messages[0].title, "Vorn");
  EXPECT_EQ(b.m.ui.messages[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(b.m.registryEditor.commands.empty());
  EXPECT_FALSE(b.SetHas("Reg\\VornInfo.dat"));
  EXPECT_TRUE(b.SetHas("Reg"));
}

TEST(BackupRun, MainUserOnlyKeepsAnotherUsersSetFreeOfAddressBookAndFavoritesFolder) {
  for (int16_t html : {0, 1}) {
    BackupMachine b;
    b.WriteSetting("wfST", 1);
    b.WriteSetting("IEexport", html);
    b.StartAndPick(1);  // hanako
    b.PressOk();
    EXPECT_EQ(b.UserFolder(), b.desktop + "\\Vorn_bkup\\taro");
    const std::string set = b.desktop + "\\Vorn_bkup\\hanako";
    EXPECT_TRUE(b.m.files.IsDirectory(set + "\\Wab"));
    EXPECT_TRUE(Names(b.m.files, set + "\\Wab").empty());
    EXPECT_FALSE(b.m.files.Exists(set + "\\Favorites"));
    EXPECT_EQ(b.m.files.Exists(set + "\\Favorites.htm"), html == 1);
  }
}

TEST(BackupRun, MainUserOnlyWithoutAMainIdentitySavesForAnyone) {
  BackupMachine b(true, false);
  b.WriteSetting("wfST", 1);
  b.WriteSetting("IEexport", 0);
  b.StartAndPick(1);
  b.PressOk();
  const std::string set = b.desktop + "\\Vorn_bkup\\hanako";
  EXPECT_TRUE(b.m.files.Exists(set + "\\Wab\\taro.wab"));
  EXPECT_TRUE(b.m.files.Exists(set + "\\Favorites\\Links\\Vorn.url"));
  EXPECT_EQ(b.m.ReadSetting("wfST"), "1");
}

TEST(BackupRun, TheFavoritesFolderCopyLeavesOutDesktopIni) {
  BackupMachine b;
  b.WriteSetting("IEexport", 0);
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Favorites"), (std::vector<std::string>{"Links", "ニュース.url"}));
  EXPECT_FALSE(b.SetHas("Favorites.htm"));
}

// A move in the options window is what the next backup of the same run saves: the address
// book, the Favorites (as a copy or as a bookmark file) and the information file's path.
TEST(BackupRun, SavesTheAddressBookAndFavoritesFromWhereTheyWereMovedMeanwhile) {
  for (int html : {0, 1}) {
    BackupMachine b;
    b.WriteSetting("IEexport", static_cast<int16_t>(html));
    b.WriteSetting("Remote", 0);
    const std::string favorites = b.m.environment.specialFolders["Favorites"];
    RegistryAccess(b.m.registry).RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", favorites);
    b.StartAndPick();
    b.m.files.CreateDirectory("D:");
    b.m.ui.pickedFolders = {"D:\\", "D:\\"};
    RunContext tools(*b.m.app, 1);
    std::string shown;
    RelocateAddressBook(tools, shown);
    RelocateFavorites(tools, shown);
    b.m.ui.messages.clear();
    b.PressOk();
    EXPECT_TRUE(b.m.ui.messages.empty());
    EXPECT_EQ(b.SetFile("Wab\\taro.wab"), "wab");
    EXPECT_NE(Cp932ToUtf8(b.SetFile("Reg\\VornInfo.dat")).find("\"WabPath    :D:\\taro.wab\""), std::string::npos);
    if (html == 1)
      EXPECT_NE(Cp932ToUtf8(b.SetFile("Favorites.htm")).find("http://example.jp/vorn"), std::string::npos);
    else
      EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Favorites"), (std::vector<std::string>{"Links", "ニュース.url"}));
  }
}

TEST(BackupRun, NoFavoritesFolderSkipsOnlyTheFavorites) {
  // No setting and no special folder, or a setting naming a folder that is gone.
  for (const std::string gone : {"", "C:\\Gone\\Favorites"}) {
    for (int html : {0, 1}) {
      SCOPED_TRACE(gone + std::to_string(html));
      BackupMachine b;
      b.WriteSetting("IEexport", static_cast<int16_t>(html));
      b.WriteSetting("Remote", 0);
      b.m.environment.specialFolders.erase("Favorites");
      if (!gone.empty())
        RegistryAccess(b.m.registry).RegWriteValue(RegRoot::CurrentUser, kUserShellFoldersKey, "Favorites", gone);
      b.StartAndPick();
      b.PressOk();
      ASSERT_EQ(b.m.ui.messages.size(), 1u);
      EXPECT_EQ(b.m.ui.messages[0].text, "お気に入りを保存できませんでした");
      EXPECT_EQ(b.m.ui.messages[0].title, "レジストリ エラー");
      EXPECT_EQ(b.m.ui.messages[0].helpContext, 12);
      EXPECT_FALSE(b.SetHas("Favorites.htm"));
      EXPECT_TRUE(b.SetHas("Reg\\VornInfo.dat"));
    }
  }
}

TEST(BackupRun, NoAddressBookLocationEndsTheProgramUnlessTheAddressBookIsLeftOut) {
  {
    BackupMachine b;
    b.m.registry.DeleteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "");
    b.StartAndPick();
    b.m.ui.messages.clear();
    EXPECT_TRUE(b.PressOkEnds());
    ASSERT_FALSE(b.m.ui.messages.empty());
    EXPECT_EQ(b.m.ui.messages.back().text,
              "レジストリにアドレス帳の所在情報が見つかりませんでした。\r\n処理を中止します。");
    EXPECT_EQ(b.m.ui.messages.back().helpContext, 11);
    EXPECT_FALSE(b.SetHas("Reg\\VornInfo.dat"));
  }
  BackupMachine b;
  b.m.registry.DeleteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "");
  b.WriteSetting("MnWab", 0);
  b.StartAndPick();
  b.PressOk();
  EXPECT_FALSE(b.SetHas("Wab"));
  const std::string info = Cp932ToUtf8(b.SetFile("Reg\\VornInfo.dat"));
  EXPECT_EQ(std::count(info.begin(), info.end(), '\n'), 7);
  EXPECT_EQ(info.find("WabPath"), std::string::npos);
}

TEST(BackupRun, TheUserNameTakesItsFolderFormForTheWholeRun) {
  BackupMachine b;
  RegistryAccess(b.m.registry)
      .RegWriteValue(RegRoot::CurrentUser, "Identities\\{" + kTaroGuid + "}", "Username", std::string("a/b?c:d"));
  b.WriteSetting("UnLHA32", 1);
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(b.m.app->env.selectedUserName, "a_b_c:d");
  EXPECT_TRUE(b.m.files.Exists(b.UserFolder("a_b_c:d") + "\\Reg\\VornInfo.dat"));
  EXPECT_NE(b.m.archiver.commands.at(0).find(b.UserFolder("a_b_c:d") + "\\Mail.lzh"), std::string::npos);
}

TEST(BackupRun, OnWindows98TheSetHasNoTelephonyFilesAndNoDialUpMessage) {
  BackupMachine b(false);
  b.StartAndPick();
  b.PressOk();
  EXPECT_EQ(b.UserFolder(), "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ\\Vorn_bkup\\taro");
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Reg"),
            (std::vector<std::string>{"Account.reg", "FavoOrder.reg", "OE.reg", "Remote.reg", "Sig.reg", "VornInfo.dat"}));
  EXPECT_EQ(Names(b.m.files, b.UserFolder() + "\\Mail").size(), 3u);
  EXPECT_TRUE(b.SetHas("Wab\\taro.wab"));
  EXPECT_TRUE(b.m.ui.messages.empty());
  EXPECT_EQ(b.m.registryEditor.commands.size(), 5u);
  EXPECT_EQ(b.m.processes.started.at(0).commandLine,
            "C:\\WINDOWS\\rundll32.exe url.dll,FileProtocolHandler C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ\\Vorn_bkup");
  EXPECT_NE(Cp932ToUtf8(b.SetFile("Reg\\VornInfo.dat")).find("\"OS         :Windows98\"\r\n"), std::string::npos);
  EXPECT_TRUE(b.m.files.List(b.temp, "*").empty());
}

TEST(BackupRun, APickedDestinationWhoseParentIsMissingIsCreatedOnlyOnTheNtFamily) {
  for (bool nt : {true, false}) {
    BackupMachine b(nt);
    RegistryAccess reg(b.m.registry);
    reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn", "BackUp Path", std::string("C:\\Save\\Deep\\Vorn_bkup"));
    b.WriteSetting("SV_Int", 1);
    b.StartAndPick();
    b.PressOk();
    EXPECT_EQ(b.m.files.Exists("C:\\Save\\Deep\\Vorn_bkup\\taro\\Reg\\VornInfo.dat"), nt) << nt;
    EXPECT_FALSE(b.m.files.Exists(b.UserFolder())) << nt;
  }
}

TEST(BackupRun, OpenFolderOffOpensNothing) {
  BackupMachine b;
  b.WriteSetting("OpenFolder", 0);
  b.StartAndPick();
  b.PressOk();
  EXPECT_TRUE(b.m.processes.started.empty());
}

}  // namespace
}  // namespace vorn
