// What only the Win32 services do (the contracts hold the cases both sides share), run under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "platform/thread.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
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

TEST(Win32Environment, ReportsTheNtFamilyItRunsOn) {
  Win32Environment environment;
  auto version = environment.OsVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_TRUE(version->IsNtPlatform());
  EXPECT_FALSE(environment.Variable("SystemRoot").value_or("").empty());
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
