// unlha32.dll loaded by the program's archiver, packing and unpacking real files under Wine.
#include <gtest/gtest.h>

#include "platform/lha/unlha_result.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"

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

TEST_F(Win32ArchiverTest, FailuresComeBackAsTheLibrarysCodes) {
  EXPECT_EQ(archiver.Unlha(0, "z \"" + root + "\\a.lzh\"", nullptr, 0), unlha::kBadCommand);
  EXPECT_EQ(archiver.Unlha(0, "x -d1 -y1 \"" + root + "\\none.lzh\" \"" + root + "\"\\ *.*", nullptr, 0),
            unlha::kArchiveNotFound);
}

}  // namespace
}  // namespace vorn
