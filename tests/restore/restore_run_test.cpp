#include "restore/restore_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "backup/mail_archive.h"
#include "platform/codepage.h"
#include "platform/sim/sim_archiver.h"
#include "regedit/reg_export.h"
#include "tests/restore/restore_fixture.h"

namespace vorn {
namespace {

constexpr auto kUser = RegRoot::CurrentUser;

// A whole set of taro's on hanako's machine, and the run's window as a recorder.
class Scene {
 public:
  Scene() {
    f_.MakeSet(true);
    Info("WindowsXP", "6.0.2900.5512");
    f_.m.CreateFile(kSetFolder + "\\Mail\\Folders.dbx", "taro's folders");
    f_.m.CreateFile(kSetFolder + "\\Mail\\Inbox.dbx", "taro's inbox");
    f_.m.CreateFile(f_.env.storeRootFolder + "\\Folders.dbx", "hanako's folders");
    f_.m.CreateFile(f_.env.storeRootFolder + "\\Old.dbx", "hanako's old mail");
    f_.m.ui.pickedFolders = {kSetFolder};
    f_.app.archiverAvailable = true;
  }
  void Info(const std::string& os, const std::string& oe) {
    f_.m.CreateFile(kSetFolder + "\\Reg\\VornInfo.dat",
                    Utf8ToCp932("\"Date       :2024/01/02 3:04:05\"\r\n\"OS         :" + os + "\"\r\n\"OE         :" + oe +
                                "\"\r\n\"StoreRoot  :C:\\x\"\r\n\"UserName   :taro\"\r\n\"UserID     :" + kSourceGuid +
                                "\"\r\n\"WabPath    :C:\\taro.wab\"\r\n\"BackupPath :D:\\Vorn_bkup\"\r\n"));
  }
  RestoreEnd Restore() {
    return ResMain(f_.run, [this](const std::vector<std::string>& fields) { shownInfo_.push_back(fields); });
  }
  bool RestoreEnds() {
    try {
      Restore();
      return false;
    } catch (const ProgramEnded&) {
      return true;
    }
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const auto& message : f_.m.ui.messages) titles.push_back(message.title);
    return titles;
  }
  bool Restored() const { return f_.m.ReadFile(f_.env.storeRootFolder + "\\Inbox.dbx") == "taro's inbox"; }
  bool Untouched() const {
    return f_.m.ReadFile(f_.env.storeRootFolder + "\\Old.dbx") == "hanako's old mail" &&
           !f_.m.registry.KeyExists(kUser, f_.IdentityKey() + "\\Outlook Express\\5.0\\Rules");
  }

  size_t Flashes() const { return f_.m.ui.flashed.size(); }

  RestoreFixture f_;
  std::vector<std::vector<std::string>> shownInfo_;
};

class ResMainTest : public ::testing::Test, public Scene {};

TEST_F(ResMainTest, AMatchingSetIsRestoredAfterR3WithTheFolderPickersPromptAndTheRunsOrder) {
  EXPECT_EQ(Restore(), RestoreEnd::Completed);
  ASSERT_EQ(f_.m.ui.folderRequests.size(), 1u);
  EXPECT_EQ(f_.m.ui.folderRequests[0],
            (SimUiServices::FolderRequest{42,
                                          "バックアップファイルがある,フォルダを指定して下さい。\r\n"
                                          "【 これからリストアするユーザー名のフォルダを選択 】",
                                          "\\Mail", 1}));
  ASSERT_GE(f_.m.ui.messages.size(), 1u);
  const MessageSpec& r3 = f_.m.ui.messages[0];
  EXPECT_EQ(r3.text, "選択したユーザーにバックアップデータをリストアします。\r\n現在のデータは消去されます。\r\n"
                     "新規にリストアする場合は、そのまま進んでください。");
  EXPECT_EQ(r3.title, "リストア");
  EXPECT_EQ(r3.buttons, MsgButtons::OkCancel);
  EXPECT_EQ(r3.icon, MsgIcon::Information);
  EXPECT_EQ(r3.helpContext, 4);
  EXPECT_TRUE(Restored());
  EXPECT_FALSE(f_.m.files.Exists(f_.env.storeRootFolder + "\\Old.dbx"));
  EXPECT_EQ(f_.Text(f_.IdentityKey() + "\\Outlook Express\\5.0\\Rules\\Mail\\000", "Identity"), kReceiverGuid);
  // Imports in the run's order: accounts, identity settings, Favorites order, dial-up, telephony.
  std::vector<std::string> imported;
  for (const auto& line : f_.m.registryEditor.commands) imported.push_back(line.substr(line.rfind('\\') + 1));
  EXPECT_EQ(imported, (std::vector<std::string>{"Account.reg\"", "NewOE.reg\"", "FavoOrder.reg\"", "Remote.reg\"",
                                                "Locations.reg\""}));
  EXPECT_TRUE(f_.state.sameOsFamily);
  EXPECT_EQ(Flashes(), 1u);
  EXPECT_EQ(f_.m.ui.beeps, 3);  // before R3, at the end, and the flash's own
  EXPECT_EQ(f_.m.ui.waitCursor, (std::vector<bool>{true, false}));
  EXPECT_TRUE(f_.report.Complete());
}

TEST_F(ResMainTest, CancelsAndMissingSetsChangeNothing) {
  // The folder dialog cancelled: no message at all.
  f_.m.ui.pickedFolders = {""};
  EXPECT_EQ(Restore(), RestoreEnd::Cancelled);
  EXPECT_TRUE(f_.m.ui.messages.empty());
  // A folder without Reg\Account.reg, also when it holds mail: R2.
  f_.m.ui.pickedFolders = {kSetFolder + "\\Mail"};
  EXPECT_EQ(Restore(), RestoreEnd::NoSet);
  ASSERT_EQ(f_.m.ui.messages.size(), 1u);
  EXPECT_EQ(f_.m.ui.messages[0].text,
            "指定先にバックアップファイルが見つかりません。\r\nリストアするユーザー名のフォルダを選択してください。\r\n"
            "             ~~~~~~~~~~~~~~~~~~~");
  EXPECT_EQ(f_.m.ui.messages[0].icon, MsgIcon::Critical);
  EXPECT_EQ(f_.m.ui.messages[0].helpContext, 3);
  // Cancel at R3.
  f_.m.ui.pickedFolders = {kSetFolder};
  f_.m.ui.answers = {MsgAnswer::Cancel};
  EXPECT_EQ(Restore(), RestoreEnd::Cancelled);
  EXPECT_TRUE(Untouched());
  EXPECT_TRUE(f_.m.registryEditor.commands.empty());
  EXPECT_TRUE(f_.m.ui.waitCursor.empty());
}

struct DifferencePath {
  const char* name;
  bool confirm;
  std::vector<MsgAnswer> answers;
  std::vector<std::string> titles;  // the messages up to the run's end
  bool infoShown;
  bool restored;
};

TEST_F(ResMainTest, ADifferentEnvironmentAsksR4AndOnDetailsShowsTheInformationThenR5) {
  const DifferencePath paths[] = {
      {"details, then go on", true, {MsgAnswer::Yes, MsgAnswer::Yes}, {"確認", "Vorn"}, true, true},
      {"details, then stop", true, {MsgAnswer::Yes, MsgAnswer::No}, {"確認", "Vorn"}, true, false},
      {"no details", true, {MsgAnswer::No}, {"確認"}, false, true},
      {"Esc or a closed box", true, {MsgAnswer::Cancel}, {"確認"}, false, false},
      {"no question at all", false, {}, {}, false, true},
  };
  for (const auto& path : paths) {
    SCOPED_TRACE(path.name);
    Scene fresh;
    fresh.f_.MakeSet(false);
    fresh.Info("Windows98", "5.50.4807.1700");
    fresh.f_.app.settings.confirmCrossFamilyRestore = path.confirm ? 1 : 0;
    fresh.f_.m.ui.answers = {path.answers.begin(), path.answers.end()};
    EXPECT_EQ(fresh.Restore(), path.restored ? RestoreEnd::Completed : RestoreEnd::Cancelled);
    auto titles = fresh.Titles();
    titles.resize(std::min(titles.size(), path.titles.size()));
    EXPECT_EQ(titles, path.titles);
    EXPECT_EQ(fresh.shownInfo_.size(), path.infoShown ? 1u : 0u);
    EXPECT_EQ(fresh.Restored(), path.restored);
    EXPECT_EQ(fresh.f_.m.registryEditor.commands.empty(), !path.restored);
    EXPECT_EQ(fresh.f_.m.ui.beeps, path.restored ? 3 : 1);
    // A 98 set on the 2000 family restores no dial-up settings.
    EXPECT_FALSE(fresh.f_.state.sameOsFamily);
    if (path.infoShown) {
      EXPECT_EQ(fresh.shownInfo_[0][1], "Windows98");
    }
  }
  const MessageSpec& r4 = [] {
    static Scene t;
    t.Info("WindowsXP", "6.0.2900.1106");
    t.f_.m.ui.answers = {MsgAnswer::No};
    t.Restore();
    return t.f_.m.ui.messages[0];
  }();
  EXPECT_EQ(r4.text, "バックアップデータは、現在のOSまたは、Outlook Expressのバージョンと\r\n異なっています。詳細を確認しますか？");
  EXPECT_EQ(r4.buttons, MsgButtons::YesNo);
  EXPECT_EQ(r4.icon, MsgIcon::Question);
  EXPECT_EQ(r4.helpContext, 5);
}

TEST_F(ResMainTest, ASetWithoutInformationFileCountsAsDifferentAndShowsNoRecordedValues) {
  f_.m.files.DeleteFile(kSetFolder + "\\Reg\\VornInfo.dat");
  f_.m.ui.answers = {MsgAnswer::Yes, MsgAnswer::No};
  EXPECT_EQ(Restore(), RestoreEnd::Cancelled);
  ASSERT_EQ(shownInfo_.size(), 1u);
  EXPECT_TRUE(shownInfo_[0].empty());
}

TEST_F(ResMainTest, CancelAtTheAccountQuestionStopsBeforeAnyImportAndOnlyThatRun) {
  f_.m.CreateFile(kSetFolder + "\\Reg\\Account.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\x]\r\n");
  f_.m.ui.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
  EXPECT_EQ(Restore(), RestoreEnd::Cancelled);
  EXPECT_TRUE(Untouched());
  EXPECT_TRUE(f_.m.registryEditor.commands.empty());
  EXPECT_EQ(f_.m.ui.waitCursor, (std::vector<bool>{true, false}));
  // The next run finds the main user's accounts and is not stopped by the earlier cancel.
  f_.MakeSet(true);
  f_.m.ui.pickedFolders = {kSetFolder};
  f_.m.ui.answers = {MsgAnswer::Ok};
  EXPECT_EQ(Restore(), RestoreEnd::Completed);
  EXPECT_TRUE(Restored());
}

TEST_F(ResMainTest, AnArchiveComesBeforeTheCopy) {
  SimArchiver archiver(f_.m.files);
  f_.m.archiver.onRun = [&](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
    return archiver.Unlha(owner, line, out, size);
  };
  f_.m.CreateFile("C:\\Packed\\Folders.dbx", "packed folders");
  f_.m.CreateFile("C:\\Packed\\Inbox.dbx", "packed inbox");
  ASSERT_EQ(archiver.Unlha(0, MailArchiveCommandLine(kSetFolder + "\\Mail.lzh", "C:\\Program Files\\Vorn", "C:\\Packed"),
                           nullptr, 0),
            0);
  EXPECT_EQ(Restore(), RestoreEnd::Completed);
  EXPECT_EQ(f_.m.ReadFile(f_.env.storeRootFolder + "\\Inbox.dbx"), "packed inbox");
  EXPECT_EQ(f_.m.archiver.commands.size(), 1u);
  EXPECT_EQ(f_.m.archiver.commands[0].rfind("x -d1 -y1 \"" + kSetFolder + "\\Mail.lzh\" \"", 0), 0u);
}

struct FailurePoint {
  const char* name;
  std::function<void(Scene&)> arrange;
  bool programEnds;
  std::string lastMessage;
};

// Whatever keeps the set's mail from being ready, nothing of the set reaches the receiving user.
TEST(ResMainFailures, NothingOfTheSetIsAppliedUnlessItsWholeMailIsReady) {
  // taro's mail packed, less the last bytes of the archive.
  const auto packed = [](Scene& t, size_t cut) {
    t.f_.m.CreateFile("C:\\Packed\\Folders.dbx", "packed folders");
    t.f_.m.CreateFile("C:\\Packed\\Inbox.dbx", std::string(3000, 'i'));
    const std::string archive = kSetFolder + "\\Mail.lzh";
    SimArchiver(t.f_.m.files).Unlha(0, MailArchiveCommandLine(archive, "C:\\Program Files\\Vorn", "C:\\Packed"), nullptr, 0);
    const std::string bytes = t.f_.m.ReadFile(archive);
    t.f_.m.CreateFile(archive, bytes.substr(0, bytes.size() - cut));
    t.f_.m.archiver.onRun = [&t](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
      return SimArchiver(t.f_.m.files).Unlha(owner, line, out, size);
    };
  };
  const std::string r8 = "解凍に失敗しました。Error Code:0x8003";
  // The folder's content moved elsewhere, and a link to it in its place.
  const auto linked = [](Scene& t, const std::string& folder) {
    const std::filesystem::path host = t.f_.m.files.HostPath(folder), elsewhere = t.f_.m.files.HostPath("C:\\Elsewhere");
    std::filesystem::rename(host, elsewhere);
    std::filesystem::create_directory_symlink(elsewhere, host);
  };
  const std::string store = Scene().f_.env.storeRootFolder, above = store.substr(0, store.rfind('\\'));
  const auto notStagedThrough = [](const std::string& link) {
    return "メールデータをリストアできませんでした。\r\nファイルを作成できません。\r\n" + link + "\r\n現在のメールデータはそのまま残っています。";
  };
  const FailurePoint points[] = {
      {"no mail data", [](Scene& t) { std::filesystem::remove_all(t.f_.m.files.HostPath(kSetFolder + "\\Mail")); }, true,
       "メールデータが見つかりません。\r\n処理を中止します。"},
      {"no archiver",
       [](Scene& t) {
         t.f_.m.CreateFile(kSetFolder + "\\Mail.lzh", "an archive");
         t.f_.app.archiverAvailable = false;
       },
       true,
       "メールデータ(Mail.Lzh)を解凍できません。\r\nUnlha32.DLLがシステムに見つかりませんでした。\r\nリストアを中止します。"},
      {"not an archive",
       [&](Scene& t) {
         packed(t, 0);
         t.f_.m.CreateFile(kSetFolder + "\\Mail.lzh", "not an archive");
       },
       false, r8},
      {"cut at a member boundary", [&](Scene& t) { packed(t, 1); }, false, r8},
      {"the Store Root is a link", [&](Scene& t) { linked(t, store); }, false, notStagedThrough(store)},
      {"the Store Root's folder is a link", [&](Scene& t) { linked(t, above); }, false, notStagedThrough(above)},
  };
  for (const auto& point : points) {
    SCOPED_TRACE(point.name);
    Scene t;
    point.arrange(t);
    const auto registry = ExportRegFile(t.f_.m.registry, kUser, "", "HKEY_CURRENT_USER", RegDialect::Regedit4);
    const auto disk = t.f_.m.Tree("C:\\");
    EXPECT_EQ(t.RestoreEnds(), point.programEnds);
    EXPECT_EQ(ExportRegFile(t.f_.m.registry, kUser, "", "HKEY_CURRENT_USER", RegDialect::Regedit4), registry);
    EXPECT_EQ(t.f_.m.Tree("C:\\"), disk);
    EXPECT_TRUE(t.f_.m.registryEditor.commands.empty());
    ASSERT_FALSE(t.f_.m.ui.messages.empty());
    EXPECT_EQ(t.f_.m.ui.messages.back().text, point.lastMessage);
    EXPECT_EQ(t.f_.m.ui.waitCursor.back(), false);
    EXPECT_EQ(t.f_.report.Complete(), point.programEnds);  // an ended program reports nothing more
  }
}

// A set holding both forms of mail (left by an older backup) is restored from the newer one,
// and the user is told which.
TEST_F(ResMainTest, ASetWithBothMailFormsIsRestoredFromTheNewerAndSaysSo) {
  for (bool archiveNewer : {true, false}) {
    SCOPED_TRACE(archiveNewer);
    Scene t;
    SimArchiver archiver(t.f_.m.files);
    t.f_.m.archiver.onRun = [&](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
      return archiver.Unlha(owner, line, out, size);
    };
    t.f_.m.CreateFile("C:\\Packed\\Folders.dbx", "packed folders");
    t.f_.m.CreateFile("C:\\Packed\\Inbox.dbx", "packed inbox");
    const std::string archive = kSetFolder + "\\Mail.lzh";
    ASSERT_EQ(archiver.Unlha(0, MailArchiveCommandLine(archive, "C:\\Program Files\\Vorn", "C:\\Packed"), nullptr, 0), 0);
    const int64_t copied = *t.f_.m.files.ModifiedTime(kSetFolder + "\\Mail\\Inbox.dbx");
    t.f_.m.files.SetModifiedTime(archive, copied + (archiveNewer ? 60 : -60));
    t.f_.m.files.SetModifiedTime(kSetFolder + "\\Mail", copied - 120);
    EXPECT_EQ(t.Restore(), RestoreEnd::Completed);
    EXPECT_EQ(t.f_.m.ReadFile(t.f_.env.storeRootFolder + "\\Inbox.dbx"), archiveNewer ? "packed inbox" : "taro's inbox");
    ASSERT_GE(t.f_.m.ui.messages.size(), 2u);
    EXPECT_EQ(t.f_.m.ui.messages[1].text, std::string("このバックアップには Mail.lzh と Mail フォルダの両方があります。\r\n") +
                                              "新しい方の " + (archiveNewer ? "Mail.lzh" : "Mail フォルダ") +
                                              " からリストアします。");
  }
}

TEST_F(ResMainTest, NoStoreRootEndsTheProgram) {
  {
    Scene t;
    t.f_.env.storeRootFolder.clear();
    EXPECT_TRUE(t.RestoreEnds());
    EXPECT_EQ(t.f_.m.ui.messages[0].text, "Store Root が見つかりません。\r\n一度 Outlook Expressを起動させる必要があります。");
    EXPECT_EQ(t.f_.m.ui.messages[0].title, "注意");
    EXPECT_EQ(t.f_.m.ui.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(t.f_.m.ui.messages[0].helpContext, 2);
    EXPECT_TRUE(t.f_.m.ui.folderRequests.empty());
  }
}

// The Store Root refuses the new mail and then the old files' way back: they are in the holding
// folder, and the window says so instead of "your mail is still there".
TEST_F(ResMainTest, OldMailThatCannotGoBackIsNamedWithItsFolder) {
  OnFaultyDisk disk(f_);
  const std::string store = f_.env.storeRootFolder;
  disk.files.refuseMove = [store](const std::string& from, const std::string& to) {
    return to == store + "\\Inbox.dbx" || from.find("~vorn-old") != std::string::npos;
  };
  EXPECT_EQ(ResMain(disk.run, nullptr), RestoreEnd::Completed);
  const std::string holding = store + "~vorn-old1";
  EXPECT_EQ(f_.m.ReadFile(holding + "\\Old.dbx"), "hanako's old mail");
  const std::string where = "元のメールデータの一部を元の場所に戻せませんでした。\r\n元のファイルは次のフォルダにあります:\r\n" + holding;
  ASSERT_GE(f_.m.ui.messages.size(), 2u);
  EXPECT_EQ(f_.m.ui.messages[f_.m.ui.messages.size() - 2].text, "メールデータをリストアできませんでした。\r\n" + where);
  EXPECT_NE(f_.m.ui.messages.back().text.find(holding), std::string::npos);  // and in the closing report
  EXPECT_NE(disk.report.mailProblem.find(holding), std::string::npos);
}

TEST_F(ResMainTest, SkippedKeysAndUndoneStepsAreToldOnceAtTheEnd) {
  std::string bytes = "\xFF\xFE";
  for (char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
                            "CurrentVersion\\Run]\r\n\"evil\"=\"x\"\r\n")) {
    bytes += c;
    bytes += '\0';
  }
  f_.m.CreateFile(kSetFolder + "\\Reg\\FavoOrder.reg", bytes);
  f_.m.CreateFile(kSetFolder + "\\Wab\\taro.wab", "the set's address book");
  f_.m.ui.answers = {MsgAnswer::Ok, MsgAnswer::No};
  EXPECT_EQ(Restore(), RestoreEnd::Completed);
  EXPECT_FALSE(f_.m.registry.KeyExists(kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  const MessageSpec& report = f_.m.ui.messages.back();
  EXPECT_EQ(report.text, "バックアップの範囲外のため、次のキーは取り込みませんでした:\r\n"
                         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(report.title, "Vorn");
  EXPECT_EQ(report.icon, MsgIcon::Warning);
  EXPECT_EQ(std::count_if(f_.m.ui.messages.begin(), f_.m.ui.messages.end(),
                          [](const MessageSpec& m) { return m.title == "Vorn"; }),
            1);
  RunReport many;
  for (int i = 0; i < 25; ++i) many.failures.push_back("step " + std::to_string(i));
  const std::string text = RestoreReportText(many);
  EXPECT_EQ(text.substr(text.size() - std::string("\r\nほか 5 件").size()), "\r\nほか 5 件");
  EXPECT_EQ(RestoreReportText({}), "");
}

}  // namespace
}  // namespace vorn
