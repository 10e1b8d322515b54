// The Win32 services that have no simulated twin to share a contract with, run under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "platform/thread.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui_services.h"
#include "platform/win32/windows_api.h"

namespace vorn {
namespace {

std::string TempFolder(const std::string& name) {
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  std::string folder = Narrow(std::wstring(temp, n)) + name;
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  return folder;
}

void WriteFile(FileSystem& files, const std::string& path, const std::string& content) {
  auto out = files.OpenWrite(path);
  ASSERT_NE(out, nullptr) << path;
  out->Write(content.data(), content.size());
  ASSERT_TRUE(out->Close());
}

TEST(Win32Environment, AnswersFromTheRunningSystem) {
  Win32Environment environment;
  EXPECT_FALSE(environment.Variable("VORN_NEVER_SET").has_value());
  SetEnvironmentVariableW(L"VORN_TEST_VALUE", L"デスクトップ");
  EXPECT_EQ(environment.Variable("vorn_test_value"), "デスクトップ");
  EXPECT_FALSE(environment.Variable("SystemRoot").value_or("").empty());

  auto version = environment.OsVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platformId, 2u);

  const std::string folder = environment.ProgramFolder();
  const std::string self = folder + "\\platform_win32_tests.exe";
  EXPECT_TRUE(environment.PathSearchFinds(self));
  EXPECT_FALSE(environment.PathSearchFinds(folder + "\\none.exe"));
  EXPECT_EQ(environment.ExecutableVersion(self), (FileVersion{6, 0, 2900, 5512}));
  EXPECT_FALSE(environment.ExecutableVersion(folder + "\\none.exe").has_value());

  EXPECT_FALSE(environment.SpecialFolder("favorites").empty());
  EXPECT_EQ(environment.SpecialFolder("NoSuchFolder"), "");
}

TEST(Win32Environment, PathSearchFindsJapaneseNamesThroughCodePage932) {
  Win32Environment environment;
  Win32FileSystem files;
  const std::string path = TempFolder("VornPathSearch") + "\\受信トレイ.dbx";
  WriteFile(files, path, "x");
  EXPECT_TRUE(environment.PathSearchFinds(path));
  files.DeleteFile(path);
  EXPECT_FALSE(environment.PathSearchFinds(path));
}

TEST(Win32Processes, StartsWaitsAndListsPrograms) {
  Win32Processes processes;
  auto running = processes.Snapshot();
  ASSERT_TRUE(running.has_value());
  EXPECT_NE(std::find(running->begin(), running->end(), "platform_win32_tests.exe"), running->end());

  EXPECT_EQ(processes.RunAndWait("cmd.exe /c exit 3", WindowStyle::Hidden), 3);
  EXPECT_FALSE(processes.RunAndWait("no-such-program-here.exe", WindowStyle::Normal).has_value());
  EXPECT_TRUE(processes.Start("cmd.exe /c exit 0", WindowStyle::Minimized));
  EXPECT_FALSE(processes.Start("no-such-program-here.exe", WindowStyle::Normal));
}

TEST(Win32Processes, RunsAProgramWhosePathHasBlanksAndNotTheProgramItsFirstWordNames) {
  Win32Processes processes;
  Win32FileSystem files;
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::string folder = TempFolder("Vorn Blank");
  const std::string decoy = TempFolder("") + "Vorn.exe";
  // The decoy is what an unquoted "<temp>\Vorn Blank\tool.exe" would start first; as reg.exe
  // it ends with 1 on the argument "Blank\tool.exe", where the tool itself ends with 0.
  ASSERT_EQ(files.CopyFile(NarrowZ(system) + "\\reg.exe", decoy, true), FsResult::Ok);
  ASSERT_EQ(files.CopyFile(NarrowZ(system) + "\\hostname.exe", folder + "\\tool.exe", true), FsResult::Ok);
  EXPECT_EQ(processes.RunAndWait(folder + "\\tool.exe", WindowStyle::Hidden), 0);
  files.DeleteFile(decoy);
  files.DeleteFile(folder + "\\tool.exe");
  files.RemoveDirectory(folder);
}

TEST(Win32Shell, CopiesAWildcardPatternIntoAFolder) {
  Win32FileSystem files;
  const std::string from = TempFolder("VornShellFrom"), to = TempFolder("VornShellTo");
  WriteFile(files, from + "\\受信トレイ.dbx", "inbox");
  WriteFile(files, from + "\\Sent.dbx", "sent");
  WriteFile(files, from + "\\notes.txt", "notes");
  Win32Shell shell;
  EXPECT_EQ(shell.FileTransfer(0, to, from + "\\*.dbx"), 0);
  EXPECT_EQ(files.FileSize(to + "\\受信トレイ.dbx"), 5u);
  EXPECT_TRUE(files.Exists(to + "\\Sent.dbx"));
  EXPECT_FALSE(files.Exists(to + "\\notes.txt"));
  for (const auto& folder : {from, to}) {
    for (const auto& entry : files.List(folder, "*")) files.DeleteFile(folder + "\\" + entry.name);
    files.RemoveDirectory(folder);
  }
}

// Sets one regional format of the user for the life of the object.
class RegionalFormat {
 public:
  RegionalFormat(LCTYPE type, const wchar_t* format) : type_(type) {
    wchar_t old[80] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, old, 80);
    old_ = old;
    SetLocaleInfoW(LOCALE_USER_DEFAULT, type, format);
  }
  ~RegionalFormat() { SetLocaleInfoW(LOCALE_USER_DEFAULT, type_, old_.c_str()); }

 private:
  LCTYPE type_;
  std::wstring old_;
};

TEST(Win32Clock, FormatsInTheRegionalShortDateAndLongTime) {
  Win32Clock clock;
  {
    // Japanese Windows XP's defaults.
    RegionalFormat date(LOCALE_SSHORTDATE, L"yyyy/MM/dd"), time(LOCALE_STIMEFORMAT, L"H:mm:ss");
    EXPECT_EQ(clock.FormatDateTime({2024, 1, 2, 3, 4, 5}), "2024/01/02 3:04:05");
    EXPECT_EQ(clock.FormatDateTime({2024, 12, 31, 0, 0, 0}), "2024/12/31");
  }
  {
    RegionalFormat date(LOCALE_SSHORTDATE, L"d.M.yy"), time(LOCALE_STIMEFORMAT, L"HH'時'mm'分'");
    EXPECT_EQ(clock.FormatDateTime({2024, 1, 2, 13, 4, 5}), "2.1.24 13時04分");
  }
  LocalDateTime now = clock.Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
}

// Answers the next message box from another thread, as a user would, after noting what it shows.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer(std::wstring title, int button) : title_(std::move(title)), button_(button) {
    thread_ = std::make_unique<Thread>([this] { Run(); });
  }
  std::vector<std::string> texts;  // the texts of the box's children
  std::vector<int> buttonIds;

 private:
  void Run() {
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (HWND box = FindWindowW(L"#32770", title_.c_str())) {
        EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(this));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        return;
      }
      Sleep(50);
    }
  }
  static BOOL CALLBACK Collect(HWND child, LPARAM self) {
    auto answerer = reinterpret_cast<MessageBoxAnswerer*>(self);
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    answerer->texts.push_back(NarrowZ(text));
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (std::wstring(className) == L"Button") answerer->buttonIds.push_back(GetDlgCtrlID(child));
    return TRUE;
  }
  std::wstring title_;
  int button_;
  std::unique_ptr<Thread> thread_;  // last: joined before the answers it writes go
};

TEST(Win32UiServices, MessageBoxShowsTextTitleButtonsAndHelpAndReportsTheAnswer) {
  Win32UiServices ui;
  MessageSpec message;
  message.text = "Imagehlp.dllの消失が判明しました!!\r\nOEの不具合につながります。";
  message.title = "不具合発見!!";
  message.icon = MsgIcon::Critical;
  message.buttons = MsgButtons::YesNo;
  message.helpButton = true;
  message.helpFile = "C:\\nowhere\\Vorn4.chm";
  message.helpContext = 13;
  MsgAnswer answer;
  std::vector<std::string> texts;
  std::vector<int> buttons;
  {
    MessageBoxAnswerer answerer(Wide(message.title), IDNO);
    answer = ui.ShowMessage(message);
    texts = answerer.texts;
    buttons = answerer.buttonIds;
  }
  EXPECT_EQ(answer, MsgAnswer::No);
  EXPECT_NE(std::find(texts.begin(), texts.end(), message.text), texts.end());
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(buttons, (std::vector<int>{IDYES, IDNO, IDHELP}));

  message.buttons = MsgButtons::Ok;
  message.helpButton = false;
  {
    MessageBoxAnswerer answerer(Wide(message.title), IDOK);
    answer = ui.ShowMessage(message);
    buttons = answerer.buttonIds;
  }
  EXPECT_EQ(answer, MsgAnswer::Ok);
  EXPECT_EQ(buttons, std::vector<int>{IDOK});
}

}  // namespace
}  // namespace vorn
