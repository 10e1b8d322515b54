// Archives exchanged with Debian's lhasa and jlha.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/codepage.h"
#include "lha/unlha.h"
#include "lha/unlha_result.h"
#include "platform/sim/sim_file_system.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::unlha {
namespace {

using lha::test::ReadHostFile;
using lha::test::WriteHostFile;
namespace fs = std::filesystem;

bool HaveTool(const char* path) { return fs::exists(path); }

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

class Interop : public ::testing::Test {
 protected:
  lha::test::TempFolder temp;
  SimFileSystem files{temp.path()};
  const fs::path source = temp.path() / "C" / "src";

  // Files with Japanese names, text to pack well and bytes that do not pack.
  std::map<std::string, std::string> MakeSource() {
    std::map<std::string, std::string> made = {
        {"Inbox.dbx", lha::test::MailLikeText(400000, 1)},
        {"受信トレイ.dbx", lha::test::MailLikeText(120000, 2)},
        {"表示.bin", lha::test::RandomBytes(3000, 3)},
        {"Folders.dbx", std::string(70000, '\0')},
    };
    for (const auto& [name, data] : made) WriteHostFile(source / name, data);
    return made;
  }
};

TEST_F(Interop, LhasaAndJlhaUnpackOurArchivesWithTheirNames) {
  ASSERT_TRUE(HaveTool("/usr/bin/lhasa") && HaveTool("/usr/bin/jlha")) << "lhasa or jlha missing: scripts/install-deps.sh";
  auto made = MakeSource();
  ASSERT_EQ(RunCommand(files, "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"C:\\out.lzh\" \"C:\\src\\\" \"*.*\" \"\"",
                       nullptr, 0),
            kOk);
  const fs::path archive = temp.path() / "C" / "out.lzh";
  // lhasa keeps the stored code page 932 bytes as the names.
  fs::create_directories(temp.path() / "lhasa");
  ASSERT_EQ(Shell("cd '" + (temp.path() / "lhasa").string() + "' && /usr/bin/lhasa xq '" + archive.string() + "'"), 0);
  for (const auto& [name, data] : made)
    EXPECT_TRUE(ReadHostFile(temp.path() / "lhasa" / Utf8ToCp932(name)) == data) << name;
  ASSERT_EQ(Shell("/usr/bin/lhasa t '" + archive.string() + "'"), 0);
  // jlha turns the names into the locale's UTF-8.
  fs::create_directories(temp.path() / "jlha");
  ASSERT_EQ(Shell("cd '" + (temp.path() / "jlha").string() + "' && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 jlha xq '" +
                  archive.string() + "'"),
            0);
  for (const auto& [name, data] : made) EXPECT_TRUE(ReadHostFile(temp.path() / "jlha" / name) == data) << name;
}

TEST_F(Interop, JlhaArchivesUnpackByteForByte) {
  ASSERT_TRUE(HaveTool("/usr/bin/jlha")) << "jlha missing: scripts/install-deps.sh";
  auto made = MakeSource();
  for (const char* mode : {"o5", "o6", "o7", "0", "1"}) {
    SCOPED_TRACE(mode);
    const std::string name = std::string("j") + mode + ".lzh";
    ASSERT_EQ(Shell("cd '" + source.string() + "' && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 jlha aq" + mode + " '../" +
                    name + "' *"),
              0);
    const std::string destination = std::string("C:\\dst_") + mode;
    ASSERT_EQ(RunCommand(files, "x -d1 -y1 \"C:\\" + name + "\" \"" + destination + "\"\\ *.*", nullptr, 0), kOk);
    for (const auto& [file, data] : made)
      EXPECT_TRUE(ReadHostFile(files.HostPath(destination + "\\" + file)) == data) << file;
    EXPECT_EQ(RunCommand(files, "t \"C:\\" + name + "\"", nullptr, 0), kOk);
  }
}

}  // namespace
}  // namespace vorn::unlha
