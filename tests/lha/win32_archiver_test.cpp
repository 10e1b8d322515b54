// unlha32.dll loaded by the program's archiver, packing and unpacking real files under Wine.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lha/unlha_result.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"
#include "tests/platform/wine_links.h"

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

  std::string Get(const std::string& path) {
    auto in = files.OpenRead(path);
    if (!in) return "<missing>";
    std::string data(static_cast<size_t>(in->Size()), '\0');
    size_t got = data.empty() ? 0 : in->Read(data.data(), data.size()).value_or(0);
    data.resize(got);
    return data;
  }

  Win32FileSystem files;
  Win32Archiver archiver;
  std::string root;
};

TEST_F(Win32ArchiverTest, TheBackupAndRestoreLinesRecreateTheStoreRoot) {
  const std::string store = root + "\\Store Root", set = root + "\\バックアップ", target = root + "\\新しい Root";
  ASSERT_EQ(files.CreateDirectory(store), FsResult::Ok);
  ASSERT_EQ(files.CreateDirectory(set), FsResult::Ok);
  ASSERT_EQ(files.CreateDirectory(target), FsResult::Ok);
  std::string mail;
  for (int i = 0; i < 20000; ++i) mail += "Subject: 会議 " + std::to_string(i % 97) + "\r\n";
  Put(store + "\\Inbox.dbx", mail);
  Put(store + "\\受信トレイ.dbx", mail.substr(0, 5000));
  Put(store + "\\Folders.dbx", std::string(1000, '\0'));

  std::string output;
  const std::string pack = "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + set + "\\Mail.lzh\" \"" + root + "\\\" \"" +
                           store + "\\\" \"*.*\" \"\"";
  ASSERT_EQ(archiver.Unlha(0, pack, &output, 255), unlha::kOk) << output;
  EXPECT_LE(output.size(), 254u);
  EXPECT_FALSE(output.empty());

  ASSERT_EQ(archiver.Unlha(0, "x -d1 -y1 \"" + set + "\\Mail.lzh\" \"" + target + "\"\\ *.*", nullptr, 0), unlha::kOk);
  for (const char* name : {"Inbox.dbx", "受信トレイ.dbx", "Folders.dbx"})
    EXPECT_TRUE(Get(target + "\\" + name) == Get(store + "\\" + name)) << name;
  EXPECT_EQ(files.List(target, "*").size(), 3u);
}

// Text that packs, but not to nothing: words picked by a fixed pseudo-random sequence.
std::string Words(size_t bytes, uint32_t seed) {
  static const char* const kWords[] = {"会議", "Subject", "予定", "from", "添付", "mail", "返信", "\r\n"};
  std::string text;
  while (text.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    text += kWords[(seed >> 16) % 8];
    text += std::to_string((seed >> 8) % 1000);
  }
  return text;
}

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
  for (uint32_t i = 0; i < 3; ++i) Put(store + "\\受信トレイ" + std::to_string(i) + ".dbx", Words(1500000, i));
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

// A folder in the destination that is a link elsewhere is never written through.
TEST_F(Win32ArchiverTest, ALinkedFolderInTheDestinationIsNotFollowed) {
  const std::string store = root + "\\Store Root", target = root + "\\展開", elsewhere = root + "\\よそ";
  for (const auto& folder : {store, store + "\\sub", target, elsewhere})
    ASSERT_EQ(files.CreateDirectory(folder), FsResult::Ok) << folder;
  Put(store + "\\sub\\x.txt", "through the link");
  Put(store + "\\y.txt", "plain");
  ASSERT_EQ(archiver.Unlha(0, "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + root + "\\Mail.lzh\" \"" + store + "\\\" \"*.*\"",
                           nullptr, 0), unlha::kOk);
  ASSERT_TRUE(MakeWineLink(target + "\\sub", elsewhere));
  std::string output;
  const int32_t result =
      archiver.Unlha(0, "x -d1 -y1 \"" + root + "\\Mail.lzh\" \"" + target + "\"\\ *.*", &output, 4096);
  RemoveWineLink(target + "\\sub");
  EXPECT_EQ(result, unlha::kLinkNotFollowed) << output;
  EXPECT_TRUE(files.List(elsewhere, "*").empty());
  EXPECT_EQ(Get(target + "\\y.txt"), "plain");
}

TEST_F(Win32ArchiverTest, FailuresComeBackAsTheLibrarysCodes) {
  EXPECT_EQ(archiver.Unlha(0, "z \"" + root + "\\a.lzh\"", nullptr, 0), unlha::kBadCommand);
  EXPECT_EQ(archiver.Unlha(0, "x -d1 -y1 \"" + root + "\\none.lzh\" \"" + root + "\"\\ *.*", nullptr, 0),
            unlha::kArchiveNotFound);
}

}  // namespace
}  // namespace vorn
