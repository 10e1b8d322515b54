#include "ui/mailme.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "tests/support/sim_machine.h"
#include "ui/form1.h"
#include "ui/startup.h"
#include "ui/support_address.h"

namespace vorn {
namespace {

const std::string kShortcut = "C:\\Program Files\\Vorn\\VornMail.url";

// A machine with the given number of Outlook Express users, started up, its program folder there.
class MailmeTest : public ::testing::Test {
 protected:
  void Start(bool nt, int users) {
    m = std::make_unique<SimMachine>(nt);
    for (int i = 0; i < users; ++i) {
      const std::string guid = "AAAAAAAA-0000-0000-0000-00000000000" + std::to_string(i);
      m->AddIdentity({guid, "user" + std::to_string(i), "C:\\Stores\\" + std::to_string(i)});
    }
    std::filesystem::create_directories(m->files.HostPath("C:\\Program Files\\Vorn"));
    Main(*m->app, false);
  }
  // Opens the sheet from the main window's menu and drives it with the script.
  void Open(const std::function<void(Mailme&)>& script) {
    m->host.Expect<Mailme>(script);
    m->app->form1().MnMail_Click();
  }
  // Ticks the timer until the sheet closes (or 1000 ticks pass); the alpha after each tick.
  static std::vector<int> TickUntilClosed(Mailme& sheet) {
    std::vector<int> levels;
    for (int i = 0; i < 1000 && !sheet.closed; ++i) {
      EXPECT_TRUE(sheet.Timer1.enabled);
      sheet.Timer1_Timer();
      if (!sheet.closed) levels.push_back(sheet.alpha);
    }
    return levels;
  }
  // The mail URL as the sheet must write it, for a machine started by Start.
  std::string ExpectedUrl(const std::string& subject, const std::string& os, int users, bool sibling) const {
    return std::string("mailto:") + kSupportAddress + "?Subject=" + subject +
           " <2004/05/12 9:05:03>&BODY=《 ユーザー様の環境 》%0A OS:" + os +
           ", OEのバージョン:" + m->app->env.oeVersion + ", OEのユーザー数:" + std::to_string(users) +
           "%0A Ruvelt.exe " + (sibling ? "有り" : "無し") +
           "%0A%0A ウィルス対策ソフトを導入されている場合は、%0A ソフト名とバージョンを記載して下さい｡ (オプション)"
           "%0A【ソフト名  】:%0A【バージョン】:"
           "%0A-----------------------------------------------------------%0A'以下に内容をお書き下さい。";
  }
  std::unique_ptr<SimMachine> m;
};

TEST_F(MailmeTest, OkWritesTheMailOfEachSubjectAndStartsTheUrlHandler) {
  Start(true, 4);
  ASSERT_FALSE(m->app->env.oeVersion.empty());
  const std::string handler = "C:\\WINDOWS\\system32\\rundll32.exe url.dll,FileProtocolHandler " + kShortcut;
  const std::vector<std::string> subjects = {"Vorn の操作上の質問", "Vorn のエラー報告", "Vorn への要望",
                                             "Vorn その他"};
  for (bool sibling : {false, true}) {
    if (sibling) m->CreateFile("C:\\Program Files\\Vorn\\Ruvelt.exe");
    for (int option = 0; option < 4; ++option) {
      SCOPED_TRACE(subjects[option] + (sibling ? " with Ruvelt" : " without Ruvelt"));
      m->processes.started.clear();
      Open([&](Mailme& sheet) {
        EXPECT_EQ(sheet.caption, "作者への問い合わせ ...");
        EXPECT_EQ(sheet.Option1.selected, 0);
        EXPECT_EQ(sheet.Option1.captions[option], subjects[option]);
        sheet.Option1.selected = option;
        sheet.Command1_Click(Mailme::kOk);
        EXPECT_FALSE(sheet.closed);  // it fades out first
        TickUntilClosed(sheet);
        EXPECT_TRUE(sheet.closed);
      });
      const std::string url = ExpectedUrl(subjects[option], "WindowsXP", 4, sibling);
      EXPECT_EQ(m->ReadFile(kShortcut), "[InternetShortcut]\r\nURL=" + Utf8ToCp932(url) + "\r\n");
      EXPECT_EQ(m->processes.started, (std::vector<SimProcesses::Started>{{handler, WindowStyle::Normal}}));
    }
  }
}

TEST_F(MailmeTest, On98TheSheetIsOpaqueClosesAtOnceAndRewritesTheShortcut) {
  Start(false, 1);
  // A longer mail first, so that the second must replace it whole.
  m->CreateFile(kShortcut, std::string(4000, 'x'));
  Open([&](Mailme& sheet) {
    EXPECT_FALSE(sheet.layered);
    EXPECT_EQ(sheet.alpha, Mailme::kOpaque);
    EXPECT_FALSE(sheet.Timer1.enabled);
    sheet.Command1_Click(Mailme::kOk);
    EXPECT_TRUE(sheet.closed);
  });
  const std::string url = ExpectedUrl("Vorn の操作上の質問", "Windows98", 1, false);
  EXPECT_EQ(m->ReadFile(kShortcut), "[InternetShortcut]\r\nURL=" + Utf8ToCp932(url) + "\r\n");
  ASSERT_EQ(m->processes.started.size(), 1u);
  EXPECT_EQ(m->processes.started[0].commandLine,
            "C:\\WINDOWS\\rundll32.exe url.dll,FileProtocolHandler " + kShortcut);

  Open([&](Mailme& sheet) {
    sheet.Command1_Click(Mailme::kCancel);
    EXPECT_TRUE(sheet.closed);
  });
  EXPECT_EQ(m->processes.started.size(), 1u);

  // A shortcut that cannot be written does not keep the handler from starting.
  std::filesystem::remove_all(m->files.HostPath("C:\\Program Files\\Vorn"));
  Open([&](Mailme& sheet) { sheet.Command1_Click(Mailme::kOk); });
  EXPECT_EQ(m->processes.started.size(), 2u);
  EXPECT_FALSE(m->files.Exists(kShortcut));
}

TEST_F(MailmeTest, TheSheetFadesInAndOutInStepsOfFiveAndClosesOnlyAfterTheFadeOut) {
  Start(true, 2);
  Open([&](Mailme& sheet) {
    EXPECT_TRUE(sheet.layered);
    EXPECT_EQ(sheet.alpha, 1);
    EXPECT_TRUE(sheet.Timer1.enabled);
    EXPECT_EQ(sheet.Timer1.interval, 1u);
    std::vector<int> fadeIn;
    while (sheet.Timer1.enabled && fadeIn.size() < 1000) {
      sheet.Timer1_Timer();
      fadeIn.push_back(sheet.alpha);
    }
    // 6, 11, ... 251, then the tick that goes past 255 stops the timer and sets nothing.
    ASSERT_EQ(fadeIn.size(), 51u);
    for (size_t i = 0; i < 50; ++i) EXPECT_EQ(fadeIn[i], 6 + 5 * static_cast<int>(i));
    EXPECT_EQ(fadeIn.back(), 251);

    sheet.Unload();  // the close box
    EXPECT_FALSE(sheet.closed);
    EXPECT_EQ(sheet.direction, Mailme::Fade::Out);
    // OK while fading out prepares no mail.
    sheet.Command1_Click(Mailme::kOk);
    const std::vector<int> fadeOut = TickUntilClosed(sheet);
    ASSERT_EQ(fadeOut.size(), 51u);
    for (size_t i = 0; i < fadeOut.size(); ++i) EXPECT_EQ(fadeOut[i], 250 - 5 * static_cast<int>(i));
    EXPECT_TRUE(sheet.closed);
    EXPECT_TRUE(sheet.closingConfirmed);
    EXPECT_FALSE(sheet.Timer1.enabled);
  });
  EXPECT_TRUE(m->processes.started.empty());
  EXPECT_FALSE(m->files.Exists(kShortcut));
}

TEST_F(MailmeTest, ACloseRequestDuringTheFadeInFadesOutFrom255) {
  Start(true, 2);
  Open([&](Mailme& sheet) {
    for (int i = 0; i < 3; ++i) sheet.Timer1_Timer();
    EXPECT_EQ(sheet.alpha, 16);
    sheet.Command1_Click(Mailme::kCancel);
    EXPECT_FALSE(sheet.closed);
    EXPECT_EQ(sheet.fadeOutLevel, 255);
    const std::vector<int> fadeOut = TickUntilClosed(sheet);
    ASSERT_FALSE(fadeOut.empty());
    EXPECT_EQ(fadeOut.front(), 250);
    EXPECT_EQ(fadeOut.back(), 0);
    EXPECT_TRUE(sheet.closed);
  });
}

}  // namespace
}  // namespace vorn
