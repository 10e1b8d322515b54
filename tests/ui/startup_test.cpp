#include "ui/startup.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"
#include "ui/form1.h"

namespace vorn {
namespace {

const std::string kA = "AAAAAAAA-0000-0000-0000-000000000001";
const std::string kB = "BBBBBBBB-0000-0000-0000-000000000002";
const std::string kC = "CCCCCCCC-0000-0000-0000-000000000003";

class StartupTest : public ::testing::Test {
 protected:
  explicit StartupTest(bool nt = true) : m(nt) {
    m.AddIdentity({kA, "一郎", "C:\\Mail\\A"});
    m.AddIdentity({kB, "次郎", "C:\\Mail\\B"});
    m.AddIdentity({kC, "三郎", "C:\\Mail\\C"});
    m.SetMainIdentity(kB);
  }
  // Runs start-up; true when it ended the program.
  bool Start(bool anotherCopy = false) {
    try {
      Main(*m.app, anotherCopy);
      return false;
    } catch (const ProgramEnded&) {
      return true;
    }
  }
  Form1& form() { return m.app->form1(); }
  SimMachine m;
};

TEST_F(StartupTest, ListsUsersMainFirstAndShowsTheWindowWithoutMessages) {
  EXPECT_FALSE(Start());
  EXPECT_EQ(form().List1.items, (std::vector<std::string>{"次郎", "一郎", "三郎"}));
  EXPECT_EQ(form().List2.items[0], "{" + kB + "}");
  EXPECT_EQ(m.host.mainWindowShown, 1);
  EXPECT_TRUE(form().loaded);
  EXPECT_TRUE(m.ui.messages.empty());
  EXPECT_TRUE(m.app->archiverAvailable);
  EXPECT_TRUE(form().MnLHA.enabled);
  EXPECT_FALSE(form().MnChanger.enabled);
}

TEST_F(StartupTest, ASecondCopyEndsSilently) {
  EXPECT_TRUE(Start(true));
  EXPECT_TRUE(m.ui.messages.empty());
  EXPECT_EQ(m.host.mainWindowShown, 0);
}

TEST_F(StartupTest, AnOutlookExpressTooOldEndsTheProgram) {
  m.environment.executableVersions["C:\\Program Files\\Outlook Express\\msimn.exe"] = {4, 72, 3110, 0};
  EXPECT_TRUE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  const MessageSpec& msg = m.ui.messages[0];
  EXPECT_EQ(msg.text, "Vorn はOutlook Express 5.00.2314.1300 以前のバージョンでの\r\n"
                      "ご利用はできません。セキュリティの面からも最新バージョンを推奨します。");
  EXPECT_EQ(msg.title, "Vorn");
  EXPECT_EQ(msg.icon, MsgIcon::Critical);
  EXPECT_TRUE(msg.helpButton);
  EXPECT_EQ(msg.helpContext, 15);
  EXPECT_EQ(msg.helpFile, "C:\\Program Files\\Vorn\\Vorn4.chm");
  EXPECT_EQ(m.host.mainWindowShown, 0);
}

TEST_F(StartupTest, AnUnreadableVersionCountsAsTooOld) {
  m.environment.executableVersions.clear();
  EXPECT_TRUE(Start());
  EXPECT_EQ(m.ui.messages.at(0).helpContext, 15);
}

TEST_F(StartupTest, AVersionJustAtTheMinimumWarnsAndGoesOn) {
  m.environment.executableVersions["C:\\Program Files\\Outlook Express\\msimn.exe"] = {5, 0, 0, 25};
  EXPECT_FALSE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].title, "OE5.01以降⇒OE5.0 は　X です. 復元の際、ご注意下さい。");
  EXPECT_EQ(m.ui.messages[0].text, "現在のOutlook Express(OE)のバージョンは 5.0.0.25です。\r\n"
                                   "バックアップ時のバージョンがこれ以降の場合は、OE をバージョンアップして下さい。");
  EXPECT_EQ(m.ui.messages[0].icon, MsgIcon::Warning);
  EXPECT_EQ(m.ui.messages[0].helpContext, 16);
}

TEST_F(StartupTest, NoIdentityEndsTheProgram) {
  m.registry.DeleteKeyTree(RegRoot::CurrentUser, "Identities");
  EXPECT_TRUE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].text, "Outlook Expressのユーザーが見つかりません。\r\n終了します。");
  EXPECT_EQ(m.ui.messages[0].helpContext, 9);
}

// A restore cut short by a power cut: both folders are named with what they hold, and kept.
TEST_F(StartupTest, FoldersAnInterruptedRestoreLeftAreNamedAndKept) {
  m.CreateFile("C:\\Mail\\C~vorn-old1\\Inbox.dbx", "12345");
  m.CreateFile("C:\\Mail\\C~vorn-old1\\Folders.dbx", "123");
  m.CreateFile("C:\\Mail\\C~vorn-new1\\Inbox.dbx", "1");
  m.CreateFile("C:\\Mail\\A~vorn-older\\x", "not a folder of ours");
  const auto before = m.Tree("C:\\Mail");
  EXPECT_FALSE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].title, "警告");
  EXPECT_EQ(m.ui.messages[0].text,
            "前回のリストアが途中で終わったため、次のフォルダが残っています。\r\n"
            "Vorn はこれらのフォルダを削除しません。中身を確かめてから扱ってください。\r\n\r\n"
            "C:\\Mail\\C~vorn-old1\r\nリストア前のメールデータ: 2 個のファイル (8 バイト)\r\n\r\n"
            "C:\\Mail\\C~vorn-new1\r\nリストアするはずだったメールデータ: 1 個のファイル (1 バイト)");
  EXPECT_EQ(m.Tree("C:\\Mail"), before);
}

TEST_F(StartupTest, AMissingAddressBookOnlyWarns) {
  m.registry.DeleteKeyTree(RegRoot::CurrentUser, "Software\\Microsoft\\WAB");
  EXPECT_FALSE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].title, "警告");
  EXPECT_EQ(m.ui.messages[0].text, "アドレス帳が見つかりませんでした。");
  EXPECT_EQ(m.ui.messages[0].helpContext, 10);
}

TEST_F(StartupTest, AMissingArchiverOverridesTheStoredSwitch) {
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn", "UnLHA32", int16_t{1});
  m.files.DeleteFile("C:\\WINDOWS\\system32\\unlha32.dll");
  EXPECT_FALSE(Start());
  EXPECT_FALSE(m.app->archiverAvailable);
  EXPECT_FALSE(form().MnLHA.enabled);
  EXPECT_FALSE(form().MnLHA.checked);
  EXPECT_EQ(m.ReadSetting("UnLHA32"), "0");
}

TEST_F(StartupTest, SiblingToolsAreEnabledWhenPresent) {
  m.CreateFile("C:\\Program Files\\Vorn\\Ruvelt.exe");
  m.CreateFile("C:\\Program Files\\Vorn\\Dostrim.exe");
  EXPECT_FALSE(Start());
  EXPECT_TRUE(form().MnChanger.enabled);
  EXPECT_TRUE(form().MnComp.enabled);
}

TEST_F(StartupTest, MissingImagehlpOnNtAsksButStartsNothing) {
  m.files.DeleteFile("C:\\WINDOWS\\system32\\Imagehlp.dll");
  m.CreateFile("C:\\WINDOWS\\system32\\System\\SFC.exe");
  EXPECT_FALSE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].title, "不具合発見!!");
  EXPECT_EQ(m.ui.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(m.ui.messages[0].helpContext, 13);
  EXPECT_TRUE(m.processes.started.empty());
}

class Startup98Test : public StartupTest {
 protected:
  Startup98Test() : StartupTest(false) {}
};

TEST_F(Startup98Test, MissingImagehlpWithTheCheckerPresentOffersToStartIt) {
  m.files.DeleteFile("C:\\WINDOWS\\system\\Imagehlp.dll");
  m.CreateFile("C:\\WINDOWS\\System\\SFC.exe");
  EXPECT_FALSE(Start());
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].text,
            "Imagehlp.dllの消失が判明しました!!\r\nOEの不具合につながります。\r\nImagehlp.dllを抽出して下さい。\r\n"
            "Sfc.exeを起動します。");
  EXPECT_EQ(m.ui.messages[0].icon, MsgIcon::Critical);
  ASSERT_EQ(m.processes.started.size(), 1u);
  EXPECT_EQ(m.processes.started[0].commandLine, "C:\\WINDOWS\\system\\SFC.exe");
}

TEST_F(Startup98Test, MissingImagehlpAnsweredNoStartsNothing) {
  m.files.DeleteFile("C:\\WINDOWS\\system\\Imagehlp.dll");
  m.ui.answers.push_back(MsgAnswer::No);
  EXPECT_FALSE(Start());
  EXPECT_EQ(m.ui.messages.at(0).text.find("Sfc.exe"), std::string::npos);
  EXPECT_TRUE(m.processes.started.empty());
}

}  // namespace
}  // namespace vorn
