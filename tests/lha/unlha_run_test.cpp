// The Unlha command lines run over the simulated file system.
#include <gtest/gtest.h>

#include "lha/codec/crc16.h"
#include "lha/unlha.h"
#include "lha/unlha_result.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_file_system.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::unlha {
namespace {

using lha::test::ReadHostFile;
using lha::test::WriteHostFile;
namespace fs = std::filesystem;

std::string PackLine(const std::string& archive, const std::string& storeRoot) {
  return "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + archive + "\" \"C:\\Program Files\\Vorn\\\" \"" + storeRoot +
         "\\\" \"*.*\" \"\"";
}

std::string MeltLine(const std::string& setFolder, const std::string& storeRoot) {
  return "x -d1 -y1 \"" + setFolder + "\\Mail.lzh\" \"" + storeRoot + "\"\\ *.*";
}

class UnlhaRun : public ::testing::Test {
 protected:
  lha::test::TempFolder temp;
  SimFileSystem files{temp.path()};
  SimArchiver archiver{files};
  fs::path Host(const std::string& windows) { return files.HostPath(windows); }

  int32_t Run(const std::string& line, std::string* output = nullptr) {
    return archiver.Unlha(0, line, output, output ? 4096 : 0);
  }

  // An archive file written as given.
  void PutArchive(const std::string& path, const std::string& bytes) { WriteHostFile(Host(path), bytes); }

  std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (auto& entry : fs::recursive_directory_iterator(root))
      tree[fs::relative(entry.path(), root).string()] = entry.is_directory() ? "<dir>" : ReadHostFile(entry.path());
    return tree;
  }
};

TEST_F(UnlhaRun, MessagesAreCutBeforeACharacterThatWouldNotFit) {
  WriteHostFile(Host("C:\\S\\日本語のメール.dbx"), "x");
  ASSERT_EQ(Run("a \"C:\\x.lzh\" \"C:\\S\\\""), kOk);
  std::string full;
  ASSERT_EQ(archiver.Unlha(0, "l \"C:\\x.lzh\"", &full, 4096), kOk);
  const size_t nameAt = full.find("日本語");
  ASSERT_NE(nameAt, std::string::npos);
  std::string cut;
  ASSERT_EQ(archiver.Unlha(0, "l \"C:\\x.lzh\"", &cut, static_cast<uint32_t>(nameAt + 5)), kOk);
  // Room for four bytes after the name begins: "日" (three bytes) fits, "本" would be split.
  EXPECT_EQ(cut, full.substr(0, nameAt + 3));
  std::string none = "untouched";
  ASSERT_EQ(archiver.Unlha(0, "l \"C:\\x.lzh\"", &none, 0), kOk);
  EXPECT_EQ(none, "");
}

TEST_F(UnlhaRun, LargePackedMembersWaitInAFileAndGiveTheSameArchive) {
  WriteHostFile(Host("C:\\S\\Inbox.dbx"), lha::test::MailLikeText(400000, 11));
  WriteHostFile(Host("C:\\S\\Sent.dbx"), lha::test::MailLikeText(300000, 12));
  fs::create_directories(Host("C:\\A"));
  fs::create_directories(Host("C:\\B"));
  ASSERT_EQ(RunCommand(files, PackLine("C:\\A\\Mail.lzh", "C:\\S"), nullptr, 0), kOk);
  ASSERT_EQ(RunCommand(files, PackLine("C:\\B\\Mail.lzh", "C:\\S"), nullptr, 0, {}, 4096), kOk);
  EXPECT_TRUE(ReadHostFile(Host("C:\\A\\Mail.lzh")) == ReadHostFile(Host("C:\\B\\Mail.lzh")));
  EXPECT_EQ(Tree(Host("C:\\B")).size(), 1u);  // the waiting file is gone
}

TEST_F(UnlhaRun, HiddenFilesNeedTheAttributeSwitch) {
  WriteHostFile(Host("C:\\S\\a.dbx"), "a");
  WriteHostFile(Host("C:\\S\\h.dbx"), "h");
  files.SetAttributes("C:\\S\\h.dbx", fileattr::kHidden);
  ASSERT_EQ(Run("a \"C:\\x.lzh\" \"C:\\S\\\" *.*"), kOk);
  std::string listing;
  ASSERT_EQ(Run("l \"C:\\x.lzh\"", &listing), kOk);
  EXPECT_NE(listing.find("a.dbx"), std::string::npos);
  EXPECT_EQ(listing.find("h.dbx"), std::string::npos);
}

TEST_F(UnlhaRun, AddingToAnArchiveKeepsMembersNotPackedAgain) {
  WriteHostFile(Host("C:\\S\\a.dbx"), "first a");
  WriteHostFile(Host("C:\\S\\b.dbx"), "first b");
  ASSERT_EQ(Run(PackLine("C:\\x.lzh", "C:\\S")), kOk);
  fs::remove(Host("C:\\S\\b.dbx"));
  WriteHostFile(Host("C:\\S\\a.dbx"), "second a");
  ASSERT_EQ(Run(PackLine("C:\\x.lzh", "C:\\S")), kOk);
  ASSERT_EQ(Run("x -y1 \"C:\\x.lzh\" \"C:\\T\"\\ *.*"), kOk);
  EXPECT_EQ(ReadHostFile(Host("C:\\T\\a.dbx")), "second a");
  EXPECT_EQ(ReadHostFile(Host("C:\\T\\b.dbx")), "first b");
}

TEST_F(UnlhaRun, FailuresHaveTheirOwnCodes) {
  WriteHostFile(Host("C:\\S\\a.dbx"), "a");
  EXPECT_EQ(Run("a -r3 \"C:\\x.lzh\" \"C:\\S\\\" *.*"), kBadCommand);
  EXPECT_EQ(Run("a \"C:\\x.lzh\" \"C:\\Missing\\\" *.*"), kFolderNotFound);
  EXPECT_EQ(Run("a \"C:\\x.lzh\" \"C:\\S\\\" *.eml"), kNoMatchingFiles);
  EXPECT_FALSE(files.Exists("C:\\x.lzh"));
  EXPECT_EQ(Run("x -y1 \"C:\\none.lzh\" \"C:\\T\"\\ *.*"), kArchiveNotFound);
  EXPECT_EQ(Run("t \"C:\\S\""), kArchiveNotFound);

  ASSERT_EQ(Run("a \"C:\\x.lzh\" \"C:\\S\\\" *.*"), kOk);
  fs::create_directories(Host("C:\\T"));
  WriteHostFile(Host("C:\\T\\a.dbx"), "kept");
  EXPECT_EQ(Run("x \"C:\\x.lzh\" \"C:\\T\"\\ *.*"), kFileExists);
  EXPECT_EQ(ReadHostFile(Host("C:\\T\\a.dbx")), "kept");
}

TEST_F(UnlhaRun, UnsafeNamesAreNeverWrittenOutsideTheDestination) {
  auto stored = [](std::vector<std::string> path) {
    lha::MemberHeader header;
    header.method = "-lh0-";
    header.path = std::move(path);
    header.packedSize = header.originalSize = 4;
    header.crc = lha::UpdateCrc16(0, "evil", 4);
    return lha::EncodeLevel2Header(header) + "evil";
  };
  std::string archive = stored({"..", "escaped.txt"}) + stored({"C:", "drive.txt"}) + stored({"\\etc", "abs"}) +
                        stored({"sub", "..", "..", "up.txt"}) + stored({"CON"}) + stored({"a:stream"}) +
                        stored({"..."}) + stored({"ok", "good.txt"}) + '\0';
  PutArchive("C:\\in\\Mail.lzh", archive);
  fs::create_directories(Host("C:\\out\\dest"));
  std::string output;
  EXPECT_EQ(Run(MeltLine("C:\\in", "C:\\out\\dest"), &output), kUnsafeName);
  EXPECT_EQ(Tree(Host("C:\\out")), (std::map<std::string, std::string>{
                                       {"dest", "<dir>"}, {"dest/ok", "<dir>"}, {"dest/ok/good.txt", "evil"}}));
  EXPECT_FALSE(fs::exists(Host("C:\\escaped.txt")));
  EXPECT_FALSE(fs::exists(Host("C:\\drive.txt")));
}

TEST_F(UnlhaRun, DamagedArchivesGiveCodesAndKeepExistingFiles) {
  WriteHostFile(Host("C:\\S\\mail.dbx"), lha::test::MailLikeText(200000, 9));
  fs::create_directories(Host("C:\\B"));
  ASSERT_EQ(Run(PackLine("C:\\B\\Mail.lzh", "C:\\S")), kOk);
  const std::string archive = ReadHostFile(Host("C:\\B\\Mail.lzh"));
  fs::create_directories(Host("C:\\R"));

  std::string flipped = archive;
  flipped[archive.size() / 2] = static_cast<char>(flipped[archive.size() / 2] ^ 0x10);
  for (const auto& damaged : {flipped, archive.substr(0, archive.size() / 2), archive.substr(0, 20)}) {
    PutArchive("C:\\B\\Mail.lzh", damaged);
    WriteHostFile(Host("C:\\R\\mail.dbx"), "the old file");
    int32_t code = Run(MeltLine("C:\\B", "C:\\R"));
    EXPECT_TRUE(code == kCrcMismatch || code == kArchiveDamaged) << std::hex << code;
    EXPECT_EQ(ReadHostFile(Host("C:\\R\\mail.dbx")), "the old file");
    EXPECT_EQ(Tree(Host("C:\\R")).size(), 1u);  // no half-written neighbour left behind
    EXPECT_NE(Run("t \"C:\\B\\Mail.lzh\""), kOk);
  }
}

TEST_F(UnlhaRun, ProgressFollowsEachMember) {
  WriteHostFile(Host("C:\\S\\big.dbx"), lha::test::MailLikeText(3'000'000, 10));
  std::map<std::string, uint64_t> reached;
  SimArchiver watched(files, [&](const std::string& member, uint64_t done, uint64_t) {
    reached[member] = done;
    return true;
  });
  ASSERT_EQ(watched.Unlha(0, PackLine("C:\\x.lzh", "C:\\S"), nullptr, 0), kOk);
  EXPECT_EQ(reached["big.dbx"], 3'000'000u);
  reached.clear();
  ASSERT_EQ(watched.Unlha(0, "t \"C:\\x.lzh\"", nullptr, 0), kOk);
  EXPECT_EQ(reached["big.dbx"], 3'000'000u);

  SimArchiver stopping(files, [](const std::string&, uint64_t done, uint64_t) { return done < 1'000'000; });
  EXPECT_EQ(stopping.Unlha(0, PackLine("C:\\y.lzh", "C:\\S"), nullptr, 0), kStopped);
  EXPECT_FALSE(files.Exists("C:\\y.lzh"));
}

}  // namespace
}  // namespace vorn::unlha
