#include "restore/registry_restore.h"

#include <gtest/gtest.h>

#include "core/signature_texts.h"
#include "platform/codepage.h"
#include "restore/dialup_restore.h"
#include "restore/reg_file_rewriting.h"
#include "tests/regedit/reg_test_support.h"
#include "tests/restore/restore_fixture.h"

namespace vorn {
namespace {

using regtest::AnsiFile;
constexpr auto kUser = RegRoot::CurrentUser;
const std::string kSignature0 = "山田 太郎\r\ntaro@example.jp\r\n\"Vorn\" C:\\mail";

std::string Oe(const RestoreFixture& f) { return f.IdentityKey() + "\\Outlook Express\\5.0"; }

void ExpectTaroSettingsOnHanako(const RestoreFixture& f) {
  EXPECT_EQ(f.Text(Oe(f), "Show Picture"), "1");
  EXPECT_EQ(f.Text(Oe(f) + "\\Rules\\Mail\\000", "Identity"), kReceiverGuid);
  EXPECT_FALSE(f.m.registry.KeyExists(kUser, "Identities\\" + kSourceGuid));
  EXPECT_EQ(f.Text(Oe(f), "Store Root"), f.env.storeRootFolder);
  EXPECT_EQ(f.m.registry.ReadValue(kUser, Oe(f), "Store Root")->type, regtype::kSz);
  EXPECT_TRUE(f.m.Tree(f.state.workFolder).empty());
  EXPECT_TRUE(f.report.skippedKeys.empty());
  EXPECT_TRUE(f.report.failures.empty()) << f.report.failures.front();
}

TEST(ReOE, AUnicodeSetOnThe2000FamilyComesUnderTheReceivingGuidWithItsOwnStoreRootWrittenOut) {
  RestoreFixture f;
  f.MakeSet(true);
  const std::string oeBefore = f.SetFile("OE.reg");
  ReOE(f.run);
  ExpectTaroSettingsOnHanako(f);
  EXPECT_EQ(f.SetFile("OE.reg"), oeBefore);
  EXPECT_EQ(f.m.registryEditor.commands.back(), "regedit.exe /s \"C:\\Work\\NewOE.reg\"");
  EXPECT_EQ(f.m.registryEditor.scopes.back(),
            std::vector<std::string>{"HKEY_CURRENT_USER\\" + f.IdentityKey()});
  // The texts arrive as the multi-strings OE.reg carries; the restore entry makes them plain.
  const std::string sig = SignaturesKey(kReceiverGuid) + "\\00000000";
  EXPECT_EQ(f.m.registry.ReadValue(kUser, sig, "text")->type, regtype::kMultiSz);
  NormalizeSignatureTexts(f.reg, kReceiverGuid);
  EXPECT_EQ(f.Text(sig, "text"), kSignature0);
  EXPECT_EQ(f.Text(SignaturesKey(kReceiverGuid) + "\\00000009", "text"), "hanako's own");
}

struct SetFileState {
  const char* name;
  std::function<void(RestoreFixture&, OnFaultyDisk&)> arrange;
  bool oeImported;
};

// A 2000/XP set onto a 98 identity, restored twice, from files that may not be written: the
// settings arrive converted in memory and the set stays exactly as the backup made it.
TEST(ReOE, AUnicodeSetOnThe98FamilyArrivesConvertedAndTheSetIsNeverWritten) {
  const SetFileState states[] = {
      {"writable", [](auto&, auto&) {}, true},
      {"read-only files",
       [](RestoreFixture& f, auto&) {
         for (const auto& entry : f.m.files.List(kSetFolder + "\\Reg", "*"))
           f.m.files.SetAttributes(kSetFolder + "\\Reg\\" + entry.name, fileattr::kReadOnly);
       },
       true},
      {"read-only medium",
       [](auto&, OnFaultyDisk& disk) {
         disk.files.readOnlyBelow = kSetFolder;
       },
       true},
      {"a bad line in OE.reg",
       [](RestoreFixture& f, auto&) {
         f.m.CreateFile(kSetFolder + "\\Reg\\OE.reg",
                        AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\" + kSourceGuid +
                                 "\\Software\\Microsoft\\Outlook Express\\5.0]\r\n\"Show Picture\"=dword:00000001\r\n"
                                 "\"Broken\"=dword:xyz\r\n"));
       },
       false},
  };
  for (const auto& state : states) {
    SCOPED_TRACE(state.name);
    RestoreFixture f(false);
    f.MakeSet(true);
    OnFaultyDisk disk(f);
    state.arrange(f, disk);
    const auto set = f.m.Tree(kSetFolder);
    for (int run = 0; run < 2; ++run) {
      f.m.registry.DeleteKeyTree(kUser, "Identities\\" + kReceiverGuid + "\\Software");
      disk.report = {};
      PrepareSigFor98(disk.run);
      ReOE(disk.run);
      EXPECT_EQ(f.m.Tree(kSetFolder), set);
      EXPECT_TRUE(f.m.Tree(f.state.workFolder).empty());
      if (!state.oeImported) {
        EXPECT_EQ(f.Text(Oe(f), "Show Picture"), "");
        ASSERT_EQ(disk.report.failures.size(), 1u);
        EXPECT_EQ(disk.report.failures[0], "OE.reg の 5 行目が読めないため、このファイルの設定は取り込みませんでした");
        continue;
      }
      ExpectTaroSettingsOnHanako(f);
      EXPECT_EQ(f.m.registry.ReadValue(kUser, SignaturesKey(kReceiverGuid) + "\\00000000", "text"),
                regtest::Sz(kSignature0));
      EXPECT_EQ(f.Text(SignaturesKey(kReceiverGuid) + "\\00000001", "text"), "一行だけ");
    }
  }
}

TEST(ReOE, A98SetOnThe2000FamilyGetsItsTextsIntoTheSignatureKeysTheyCameFrom) {
  RestoreFixture f;
  f.MakeSet(false);
  ReOE(f.run);
  ExpectTaroSettingsOnHanako(f);
  f.m.registry.WriteValue(kUser, SignaturesKey(kReceiverGuid) + "\\00000000", "text", regtest::Sz("overwritten"));
  RestoreSignatureTexts(f.run);
  EXPECT_EQ(f.Text(SignaturesKey(kReceiverGuid) + "\\00000000", "text"), kSignature0);
  EXPECT_EQ(f.Text(SignaturesKey(kReceiverGuid) + "\\00000001", "text"), "一行だけ");
  EXPECT_EQ(f.Text(SignaturesKey(kReceiverGuid) + "\\00000009", "text"), "hanako's own");
  EXPECT_EQ(RegFileKind(f.m.files, kSetFolder + "\\Reg\\OE.reg"), kRegAnsiExport);
}

TEST(ReOE, AnUnreadableOeRegLeavesTheSettingsAloneButStillResetsTheStoreRoot) {
  RestoreFixture f;
  f.MakeSet(true);
  f.m.CreateFile(kSetFolder + "\\Reg\\OE.reg", "<html>not a registry file</html>");
  ReOE(f.run);
  EXPECT_EQ(f.Text(Oe(f), "Store Root"), f.env.storeRootFolder);
  EXPECT_EQ(f.Text(Oe(f), "Show Picture"), "");
  EXPECT_EQ(f.report.failures.size(), 1u);
}

// A damaged or hostile set cannot write where its export did not come from.
TEST(ReOE, KeysOutsideTheIdentityAreSkippedAndNamed) {
  RestoreFixture f;
  f.MakeSet(true);
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  f.m.CreateFile(kSetFolder + "\\Reg\\OE.reg",
                 AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\" + kSourceGuid +
                          "\\Software\\Microsoft\\Outlook Express\\5.0]\r\n\"Show Picture\"=dword:00000001\r\n\r\n"
                          "[HKEY_CURRENT_USER\\" + run + "]\r\n\"evil\"=\"C:\\\\evil.exe\"\r\n\r\n"
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"evil\"=\"x\"\r\n"
                          "[HKEY_CURRENT_USER\\Identities\\{CCCCCCCC-0000-0000-0000-000000000000}\\Software]\r\n"));
  ReOE(f.run);
  EXPECT_EQ(f.Text(Oe(f), "Show Picture"), "1");
  EXPECT_FALSE(f.m.registry.KeyExists(kUser, run));
  EXPECT_FALSE(f.m.registry.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_EQ(f.report.skippedKeys,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\" + run,
                                      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                      "HKEY_CURRENT_USER\\Identities\\{CCCCCCCC-0000-0000-0000-000000000000}\\Software"}));
}

struct AccountCase {
  bool nt;
  std::string file;  // "unicode", "converted", "ansi" or "own" (an identity's own accounts)
  bool sameFamilyAfter;
  bool imported;
  int kindAfter;
};

TEST(N_ReAccount, TheFileKindDecidesTheFamilyAndTheMainUsersAccountsAreImportedWithoutTheirAssociation) {
  const AccountCase cases[] = {
      {true, "unicode", true, true, kRegUnicodeExport},   {false, "unicode", false, true, kRegUnicodeExport},
      {false, "converted", false, true, kRegConverted},   {true, "converted", true, true, kRegConverted},
      {true, "ansi", /*as before*/ true, true, kRegAnsiExport}, {false, "ansi", true, true, kRegAnsiExport},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + (c.nt ? " on 2000" : " on 98"));
    RestoreFixture f(c.nt);
    f.MakeSet(c.file == "unicode" || c.file == "converted");
    const std::string path = kSetFolder + "\\Reg\\Account.reg";
    if (c.file == "converted") f.m.CreateFile(path, Utf8ToCp932(*ConvertToRegedit4(f.m.files, path)));
    f.state.sameOsFamily = true;
    N_ReAccount(f.run);
    EXPECT_EQ(f.state.sameOsFamily, c.sameFamilyAfter);
    EXPECT_FALSE(f.state.accountStepCancelled);
    EXPECT_TRUE(f.m.ui.messages.empty());
    EXPECT_EQ(f.Text("Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001", "Account Name"),
              "taro@example.jp");
    EXPECT_EQ(f.Text("Software\\Microsoft\\Internet Account Manager\\Accounts", "AssociatedID"), "");
    EXPECT_EQ(RegFileKind(f.m.files, path), c.kindAfter);
  }
}

TEST(N_ReAccount, AnIdentitysOwnAccountsComeUnderTheReceivingIdentity) {
  for (bool nt : {true, false}) {
    SCOPED_TRACE(nt ? "2000" : "98");
    RestoreFixture f(nt);
    f.MakeSet(true);
    const std::string accounts = "Software\\Microsoft\\Internet Account Manager\\Accounts";
    const std::string file =
        AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\" + kSourceGuid + "\\" + accounts +
                 "]\r\n\"AssociatedID\"=hex:aa,aa,aa,aa,11,11,22,22,33,33,44,44,44,44,44,44\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Identities\\" + kSourceGuid + "\\" + accounts + "\\00000001]\r\n"
                 "\"Account Name\"=\"own\"\r\n");
    f.m.CreateFile(kSetFolder + "\\Reg\\Account.reg", file);
    N_ReAccount(f.run);
    EXPECT_EQ(f.Text("Identities\\" + kReceiverGuid + "\\" + accounts + "\\00000001", "Account Name"), "own");
    EXPECT_TRUE(f.report.skippedKeys.empty());
    EXPECT_EQ(f.SetFile("Account.reg"), file);
  }
}

TEST(N_ReAccount, AnotherUsersAccountFileIsConfirmedAndNeverImported) {
  for (MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Cancel}) {
    RestoreFixture f;
    f.MakeSet(true);
    f.m.CreateFile(kSetFolder + "\\Reg\\Account.reg",
                   AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\" + kSourceGuid +
                            "\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000002]\r\n"
                            "\"Account Name\"=\"news\"\r\n"));
    f.m.ui.answers = {answer};
    N_ReAccount(f.run);
    EXPECT_EQ(f.state.accountStepCancelled, answer == MsgAnswer::Cancel);
    EXPECT_EQ(f.m.ui.beeps, 1);
    ASSERT_EQ(f.m.ui.messages.size(), 1u);
    const MessageSpec& m = f.m.ui.messages[0];
    EXPECT_EQ(m.text,
              "このバックアップファイルは以前のOutlook Express環境で\r\nメイン以外のユーザーが使用していたファイルです。\r\n"
              "リストからメイン以外のユーザーを正しく選んだか\r\n確認の上、進めて下さい。");
    EXPECT_EQ(m.title, "最終確認");
    EXPECT_EQ(m.buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_TRUE(m.helpButton);
    EXPECT_EQ(m.helpContext, 8);
    EXPECT_EQ(m.helpFile, "C:\\Program Files\\Vorn\\Vorn4.chm");
    EXPECT_EQ(m.owner, 42u);
    EXPECT_TRUE(f.m.registryEditor.commands.empty());
  }
}

TEST(RE_FavoOrder, OnlyAnExportOfTheRunningFamilyIsImported) {
  const std::string order = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Favorites";
  for (bool nt : {true, false}) {
    for (const char* kind : {"unicode", "converted", "ansi", "other"}) {
      SCOPED_TRACE(std::string(kind) + (nt ? " on 2000" : " on 98"));
      RestoreFixture f(nt);
      f.MakeSet(std::string(kind) == "unicode" || std::string(kind) == "converted");
      const std::string path = kSetFolder + "\\Reg\\FavoOrder.reg";
      if (std::string(kind) == "converted") f.m.CreateFile(path, Utf8ToCp932(*ConvertToRegedit4(f.m.files, path)));
      if (std::string(kind) == "other") f.m.CreateFile(path, "something else\r\n");
      RE_FavoOrder(f.run);
      const bool expected = nt ? std::string(kind) == "unicode"
                               : std::string(kind) == "converted" || std::string(kind) == "ansi";
      EXPECT_EQ(f.m.registry.KeyExists(kUser, order), expected);
    }
  }
  RestoreFixture none;
  RE_FavoOrder(none.run);
  EXPECT_TRUE(none.m.registryEditor.commands.empty());
}

class DialUp : public ::testing::Test {
 protected:
  std::string Shared() const { return "C:\\Documents and Settings\\All Users\\Application Data\\" + pbk_; }
  std::string Own() const { return f_.m.profile + "\\Application Data\\" + pbk_; }
  RestoreFixture f_;
  const std::string pbk_ = "Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
};

TEST_F(DialUp, TheSameFamilysSettingsComeBackAndNoEarlierPhonebookIsLost) {
  f_.MakeSet(true);
  f_.m.CreateFile(kSetFolder + "\\Reg\\rasphone1.pbk", "shared from the set");
  f_.m.CreateFile(kSetFolder + "\\Reg\\rasphone2.pbk", "own from the set");
  const std::string sharedFolder = Shared().substr(0, Shared().rfind('\\'));
  f_.m.CreateFile(Shared(), "current shared");
  f_.m.CreateFile(sharedFolder + "\\rasphone.dat", "an earlier safety copy");
  f_.state.sameOsFamily = true;
  RE_Remote(f_.run);
  RE_Locations(f_.run);
  EXPECT_EQ(f_.Text("RemoteAccess\\Profile\\Dialup", "Default"), "Dialup");
  EXPECT_EQ(f_.Text("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations\\Location1", "Name",
                    RegRoot::LocalMachine),
            "自宅");
  EXPECT_EQ(f_.m.ReadFile(Shared()), "shared from the set");
  EXPECT_EQ(f_.m.ReadFile(sharedFolder + "\\rasphone.dat"), "an earlier safety copy");
  EXPECT_EQ(f_.m.ReadFile(sharedFolder + "\\rasphone (2).dat"), "current shared");
  EXPECT_EQ(f_.m.ReadFile(Own()), "own from the set");
  EXPECT_TRUE(f_.report.failures.empty());
  // A second restore keeps both safety copies and the phonebook the first one brought.
  RE_Remote(f_.run);
  EXPECT_EQ(f_.m.ReadFile(sharedFolder + "\\rasphone (3).dat"), "shared from the set");
  EXPECT_EQ(f_.m.ReadFile(sharedFolder + "\\rasphone.dat"), "an earlier safety copy");
}

TEST_F(DialUp, NothingComesBackFromTheOtherFamilyOrWithoutTheTelephonyExport) {
  f_.MakeSet(true);
  f_.m.CreateFile(kSetFolder + "\\Reg\\rasphone2.pbk", "own from the set");
  f_.state.sameOsFamily = false;
  RE_Remote(f_.run);
  f_.state.sameOsFamily = true;
  f_.m.files.DeleteFile(kSetFolder + "\\Reg\\Locations.reg");
  RE_Remote(f_.run);
  RE_Locations(f_.run);
  EXPECT_TRUE(f_.m.registryEditor.commands.empty());
  EXPECT_FALSE(f_.m.files.Exists(Own()));
}

TEST(DialUp98, AUnicodeRemoteExportIsConvertedAndImported) {
  RestoreFixture f(false);
  f.MakeSet(true);
  f.state.sameOsFamily = true;
  RE_Remote(f.run);
  RE_Locations(f.run);
  EXPECT_EQ(RegFileKind(f.m.files, kSetFolder + "\\Reg\\Remote.reg"), kRegUnicodeExport);
  EXPECT_EQ(f.Text("RemoteAccess\\Profile\\Dialup", "Default"), "Dialup");
  EXPECT_FALSE(f.m.registry.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony"));
}

}  // namespace
}  // namespace vorn
