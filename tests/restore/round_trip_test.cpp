// A backup of taro taken from the main window and restored from the main window onto hanako,
// with the program's own registry editor and archiver doing the exports, imports and packing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/signature_texts.h"
#include "platform/codepage.h"
#include "platform/sim/sim_archiver.h"
#include "regedit/reg_file_editor.h"
#include "tests/backup/backup_machine.h"
#include "tests/regedit/reg_test_support.h"
#include "ui/ex_info.h"
#include "ui/form1.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using regtest::DumpTree;
using regtest::Sz;
constexpr auto kUser = RegRoot::CurrentUser;

std::string Identity(const std::string& guid) { return "Identities\\{" + guid + "}\\Software\\Microsoft"; }

class RoundTrip : public ::testing::TestWithParam<std::tuple<bool, bool>> {
 protected:
  RoundTrip()
      : b_(std::get<0>(GetParam())),
        editor_(b_.m.registry, b_.m.files, [this] { return b_.nt ? RegDialect::Version5 : RegDialect::Regedit4; }),
        archiver_(b_.m.files) {
    b_.m.registryEditor.onRun = [this](const std::string& line) { editor_.Run(line); };
    b_.m.registryEditor.onImportWithin = [this](const std::string& line, const std::vector<std::string>& scope) {
      return editor_.RunImportWithin(line, scope);
    };
    b_.m.archiver.onRun = [this](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
      return archiver_.Unlha(owner, line, out, size);
    };
    const std::string oe = Identity(kTaroGuid) + "\\Outlook Express\\5.0";
    b_.m.registry.WriteValue(kUser, oe, "Show Picture", {regtype::kDword, {1, 0, 0, 0}});
    b_.m.registry.WriteValue(kUser, oe + "\\Rules\\Mail\\000", "Identity", Sz("{aaaaaaaa-1111-2222-3333-444444444444}"));
    b_.m.registry.WriteValue(kUser, oe + "\\signatures\\00000000", "text", Sz("山田 太郎\r\n\"Vorn\" C:\\mail"));
    b_.m.registry.WriteValue(kUser, oe + "\\signatures\\00000001", "text", Sz("一行"));
    b_.m.registry.WriteValue(kUser, "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001", "Account Name",
                             Sz("taro@example.jp"));
    b_.m.registry.WriteValue(kUser, Identity(kHanakoGuid) + "\\Outlook Express\\5.0", "Show Picture",
                             {regtype::kDword, {0, 0, 0, 0}});
    b_.WriteSetting("IEexport", 0);
    b_.m.registry.WriteValue(kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                             "Favorites", Sz(b_.nt ? "%USERPROFILE%\\Favorites" : "C:\\WINDOWS\\Favorites"));
  }

  void BackUpTaro() {
    b_.m.files.SetAttributes(b_.StoreRoot(kTaroGuid) + "\\Sent Items.dbx", fileattr::kReadOnly);
    b_.StartAndPick(0);
    b_.m.app->form1().MnLHA.checked = std::get<1>(GetParam());
    b_.PressOk();
    ASSERT_TRUE(b_.SetHas("Reg\\VornInfo.dat"));
    b_.m.ui.messages.clear();
    b_.m.ui.flashed.clear();
  }

  void RestoreOntoHanako() {
    Form1& form = b_.m.app->form1();
    form.Option1_Click(Form1::kRestoreMode);
    form.List1_Click(1);
    b_.m.ui.pickedFolders = {b_.UserFolder()};
    form.Command1_Click(Form1::kOk);
  }

  BackupMachine b_;
  RegFileEditor editor_;
  SimArchiver archiver_;
};

TEST_P(RoundTrip, HanakoHoldsTarosMailAndSettingsUnderHerOwnGuidAndTaroIsUntouched) {
  BackUpTaro();
  const auto taroKeys = DumpTree(b_.m.registry, kUser, Identity(kTaroGuid));
  const auto taroStore = b_.m.Tree(b_.StoreRoot(kTaroGuid));
  const std::string hanakoStoreRoot =
      b_.m.app->reg.RegReadText(kUser, Identity(kHanakoGuid) + "\\Outlook Express\\5.0", "Store Root");
  const auto favorites = b_.m.Tree(b_.m.environment.specialFolders["Favorites"]);
  auto set = b_.m.Tree(b_.UserFolder());
  RestoreOntoHanako();

  // Same machine: R3, the address book and Favorites questions, and the read-only repair that
  // follows every restore (the restored copy of a read-only file is read-only too).
  std::vector<std::string> titles;
  for (const auto& message : b_.m.ui.messages) titles.push_back(message.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"リストア", "アドレス帳の復元", "確認", "修正"}));
  EXPECT_EQ(b_.m.files.Attributes(b_.StoreRoot(kHanakoGuid) + "\\Sent Items.dbx"), fileattr::kNormal);
  EXPECT_EQ(b_.m.ui.flashed.size(), 1u);

  // The mail: what the set holds, byte for byte (a plain set carries the folder files only).
  auto expectedStore = taroStore;
  if (!std::get<1>(GetParam())) expectedStore.erase("pop3uidl.txt");
  EXPECT_EQ(b_.m.Tree(b_.StoreRoot(kHanakoGuid)), expectedStore);
  // taro's settings, signatures and accounts under hanako's GUID; hanako keeps her Store Root,
  // written out in full on the 2000 family.
  auto hanakoKeys = DumpTree(b_.m.registry, kUser, Identity(kHanakoGuid));
  auto taroAsHanako = taroKeys;
  for (auto* keys : {&hanakoKeys, &taroAsHanako})
    for (auto& key : *keys)
      std::erase_if(key.values, [](const RegNamedValue& v) { return v.name == "Store Root"; });
  for (auto& key : taroAsHanako)
    for (auto& value : key.values)
      if (value.name == "Identity") value.value = Sz("{" + kHanakoGuid + "}");
  EXPECT_EQ(hanakoKeys, taroAsHanako);
  const std::string storeRoot = b_.m.app->reg.RegReadText(kUser, Identity(kHanakoGuid) + "\\Outlook Express\\5.0", "Store Root");
  EXPECT_EQ(storeRoot, b_.nt ? b_.m.profile + hanakoStoreRoot.substr(13) : hanakoStoreRoot);
  EXPECT_EQ(b_.m.registry.ReadValue(kUser, Identity(kHanakoGuid) + "\\Outlook Express\\5.0\\signatures\\00000000", "text"),
            Sz("山田 太郎\r\n\"Vorn\" C:\\mail"));
  EXPECT_EQ(b_.m.app->reg.RegReadText(kUser, "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001",
                                      "Account Name"),
            "taro@example.jp");
  EXPECT_EQ(DumpTree(b_.m.registry, kUser, Identity(kTaroGuid)), taroKeys);
  auto favoritesWithoutIni = favorites;
  favoritesWithoutIni.erase("desktop.ini");  // the backup leaves it out of the set
  EXPECT_EQ(b_.m.Tree(b_.m.environment.specialFolders["Favorites"]), favoritesWithoutIni);
  EXPECT_EQ(b_.m.Tree(b_.StoreRoot(kTaroGuid)), taroStore);

  // The set is as the backup wrote it, but for the address book's new name and, on the 98
  // family, nothing: its files are already REGEDIT4.
  auto after = b_.m.Tree(b_.UserFolder());
  EXPECT_EQ(after.erase("Wab/taro.wab"), 1u);
  EXPECT_EQ(set.erase("Wab/taro.wab"), 1u);
  EXPECT_EQ(after, set);
}

TEST_P(RoundTrip, ADifferentOutlookExpressVersionShowsTheBackupInformationBeforeGoingOn) {
  BackUpTaro();
  const std::string info = b_.UserFolder() + "\\Reg\\VornInfo.dat";
  std::string text = b_.m.ReadFile(info);
  text.replace(text.find("6.0.2900.5512"), 13, "6.00.2800.1106");
  b_.m.CreateFile(info, text);
  b_.m.ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
  bool shown = false;
  b_.m.host.Expect<ExInfo>([&](ExInfo& dialog) {
    shown = true;
    EXPECT_EQ(dialog.Text1[2].text, "6.00.2800.1106");
    EXPECT_EQ(dialog.Text1[4].text, "taro");
    EXPECT_EQ(dialog.Label3, "OS : " + std::string(b_.nt ? "WindowsXP" : "Windows98") +
                                 "  Outlook Express : 6.0.2900.5512");
    dialog.Command1_Click(ExInfo::kDetail);
    EXPECT_TRUE(dialog.Detailed());
    dialog.Command1_Click(ExInfo::kOk);
  });
  RestoreOntoHanako();
  EXPECT_TRUE(shown);
  EXPECT_EQ(b_.m.ui.messages[0].title, "確認");
  EXPECT_EQ(b_.m.ui.messages[1].text, "リストアを続行しますか");
  EXPECT_EQ(b_.m.ReadFile(b_.StoreRoot(kHanakoGuid) + "\\Folders.dbx"), "mail of Folders.dbx");
}

TEST_P(RoundTrip, ARunningOutlookExpressStopsTheRestoreBeforeItAsks) {
  BackUpTaro();
  if (b_.nt)
    b_.m.files.MarkInUse(b_.StoreRoot(kHanakoGuid) + "\\Folders.dbx");
  else
    b_.m.processes.running = {"C:\\PROGRAM FILES\\OUTLOOK EXPRESS\\MSIMN.EXE"};
  b_.m.ui.messages.clear();
  RestoreOntoHanako();
  ASSERT_EQ(b_.m.ui.messages.size(), 1u);
  EXPECT_EQ(b_.m.ui.messages[0].helpContext, 1);
  EXPECT_TRUE(b_.m.ui.folderRequests.empty());
}

// Sets of both kinds, each user with accounts of its own: only the main user's set asks
// nothing and brings the shared accounts, and the main user stays who it was.
TEST_P(RoundTrip, OnlyTheMainUsersSetBringsTheSharedAccountsAndNoSetChangesTheMainUser) {
  const std::string shared = "Software\\Microsoft\\Internet Account Manager\\Accounts";
  for (const auto& [from, hanakoHasAccounts] : std::vector<std::pair<int, bool>>{{0, true}, {1, true}, {1, false}}) {
    SCOPED_TRACE(std::to_string(from) + (hanakoHasAccounts ? " with own accounts" : ""));
    BackupMachine b(std::get<0>(GetParam()));
    RegFileEditor editor(b.m.registry, b.m.files, [&b] { return b.nt ? RegDialect::Version5 : RegDialect::Regedit4; });
    b.m.registryEditor.onRun = [&editor](const std::string& line) { editor.Run(line); };
    b.m.registryEditor.onImportWithin = [&editor](const std::string& line, const std::vector<std::string>& scope) {
      return editor.RunImportWithin(line, scope);
    };
    b.m.registry.WriteValue(kUser, shared + "\\00000001", "Account Name", Sz("taro@example.jp"));
    b.m.registry.WriteValue(kUser, Identity(kTaroGuid) + "\\Internet Account Manager\\Accounts\\00000009",
                            "Account Name", Sz("taro's own"));
    if (hanakoHasAccounts)
      b.m.registry.WriteValue(kUser, Identity(kHanakoGuid) + "\\Internet Account Manager\\Accounts\\00000001",
                              "Account Name", Sz("hanako's own"));
    const auto association = b.m.registry.ReadValue(kUser, shared, "AssociatedID");
    b.StartAndPick(from);
    b.PressOk();
    b.m.registry.WriteValue(kUser, shared + "\\00000001", "Account Name", Sz("changed since"));
    b.m.ui.messages.clear();
    Form1& form = b.m.app->form1();
    form.Option1_Click(Form1::kRestoreMode);
    form.List1_Click(1 - from);
    b.m.ui.pickedFolders = {b.UserFolder(from == 0 ? "taro" : "hanako")};
    form.Command1_Click(Form1::kOk);

    const bool mainUsersSet = from == 0;
    bool asked = false;
    for (const auto& message : b.m.ui.messages) asked = asked || message.title == "最終確認";
    EXPECT_EQ(asked, !mainUsersSet);
    EXPECT_EQ(b.m.app->reg.RegReadText(kUser, shared + "\\00000001", "Account Name"),
              mainUsersSet ? "taro@example.jp" : "changed since");
    EXPECT_EQ(b.m.registry.ReadValue(kUser, shared, "AssociatedID"), association);
  }
}

INSTANTIATE_TEST_SUITE_P(Families, RoundTrip, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "Xp" : "Win98") +
                                  (std::get<1>(info.param) ? "Compressed" : "Plain");
                         });

}  // namespace
}  // namespace vorn
