// unlha32.dll's progress window while the program's archiver packs and unpacks real files under
// Wine (the archiver contract in tests/platform holds the cases both implementations share).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lha/unlha_result.h"
#include "platform/whole_file.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/support/sample_text.h"

namespace vorn {
namespace {

class Win32ArchiverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    root = Narrow(std::wstring(temp, n)) + "VornLha テスト";
    Clear(root);
    ASSERT_EQ(files.CreateDirectory(root), FsResult::Ok);
  }
  void TearDown() override { Clear(root); }

  void Clear(const std::string& folder) {
    for (const auto& entry : files.List(folder, "*")) {
      std::string path = folder + "\\" + entry.name;
      if (entry.isDirectory) {
        Clear(path);
      } else {
        files.SetAttributes(path, fileattr::kNormal);
        files.DeleteFile(path);
      }
    }
    files.RemoveDirectory(folder);
  }

  void Put(const std::string& path, const std::string& data) {
    auto out = files.OpenWrite(path);
    ASSERT_TRUE(out);
    ASSERT_TRUE(out->Write(data.data(), data.size()));
    ASSERT_TRUE(out->Close());
  }

  std::string Get(const std::string& path) { return ReadWholeFile(files, path).value_or("<missing>"); }

  Win32FileSystem files;
  Win32Archiver archiver;
  std::string root;
};

// Captions of the progress windows created on this thread, with their owners.
std::vector<std::pair<std::wstring, HWND>> g_progressWindows;

LRESULT CALLBACK RecordProgressWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    if (!IS_INTRESOURCE(create.lpszClass) && std::wstring(create.lpszClass) == L"VornUnlhaProgress")
      g_progressWindows.emplace_back(create.lpszName, create.hwndParent);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// With an owner window the library shows its progress window while it works and takes it away
// when the call returns, whether the call succeeded or not.
TEST_F(Win32ArchiverTest, AnOwnerWindowGetsAProgressWindowOnlyWhileTheCallRuns) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"Vorn", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  const std::string store = root + "\\Store Root", target = root + "\\展開";
  ASSERT_EQ(files.CreateDirectory(store), FsResult::Ok);
  ASSERT_EQ(files.CreateDirectory(target), FsResult::Ok);
  for (uint32_t i = 0; i < 3; ++i) Put(store + "\\受信トレイ" + std::to_string(i) + ".dbx", test::MailWords(1500000, i));
  auto progressWindow = [] { return FindWindowW(L"VornUnlhaProgress", nullptr); };
  const WindowHandle handle = reinterpret_cast<WindowHandle>(owner);
  HHOOK hook = SetWindowsHookExW(WH_CBT, RecordProgressWindows, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  g_progressWindows.clear();

  std::string output;
  ASSERT_EQ(archiver.Unlha(handle, "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + root + "\\Mail.lzh\" \"" + store +
                                       "\\\" \"*.*\"", &output, 255), unlha::kOk) << output;
  EXPECT_EQ(progressWindow(), nullptr);
  ASSERT_EQ(archiver.Unlha(0, "t \"" + root + "\\Mail.lzh\"", nullptr, 0), unlha::kOk);
  ASSERT_EQ(archiver.Unlha(handle, "x -d1 -y1 \"" + root + "\\Mail.lzh\" \"" + target + "\"\\ *.*", nullptr, 0),
            unlha::kOk);
  EXPECT_EQ(progressWindow(), nullptr);
  for (uint32_t i = 0; i < 3; ++i) {
    const std::string name = "\\受信トレイ" + std::to_string(i) + ".dbx";
    EXPECT_TRUE(Get(target + name) == Get(store + name)) << name;
  }
  // A damaged archive fails part way through a member: the window still goes.
  std::string damaged = Get(root + "\\Mail.lzh");
  damaged[damaged.size() / 2] ^= 0x55;
  Put(root + "\\Damaged.lzh", damaged);
  EXPECT_NE(archiver.Unlha(handle, "t \"" + root + "\\Damaged.lzh\"", nullptr, 0), unlha::kOk);
  EXPECT_EQ(progressWindow(), nullptr);
  UnhookWindowsHookEx(hook);
  DestroyWindow(owner);
  const std::vector<std::pair<std::wstring, HWND>> expected = {
      {L"Vorn - 圧縮中...", owner}, {L"Vorn - 解凍中...", owner}, {L"Vorn - 解凍中...", owner}};
  EXPECT_TRUE(g_progressWindows == expected) << g_progressWindows.size() << " progress windows";
}

}  // namespace
}  // namespace vorn
