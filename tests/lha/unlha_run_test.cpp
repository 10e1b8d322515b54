// The Unlha command lines run over the simulated file system.
#include <gtest/gtest.h>

#include "lha/codec/crc16.h"
#include "lha/unlha.h"
#include "lha/unlha_result.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_file_system.h"
#include "tests/lha/handmade_headers.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::unlha {
namespace {

using lha::test::Ext;
using lha::test::ReadHostFile;
using lha::test::Sized;
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
  std::string archive = stored({"..", "escaped.txt"}) + stored({"C:", "drive.txt"}) + stored({"\\\\srv", "..", "x"}) +
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

// An archive of stored members, one per (path, data) pair.
std::string StoredMembers(const std::vector<std::pair<std::vector<std::string>, std::string>>& members) {
  std::string archive;
  for (const auto& [path, data] : members) {
    lha::MemberHeader header;
    header.method = "-lh0-";
    header.path = path;
    header.packedSize = header.originalSize = data.size();
    header.crc = lha::UpdateCrc16(0, data.data(), data.size());
    archive += lha::EncodeLevel2Header(header) + data;
  }
  return archive + '\0';
}

TEST_F(UnlhaRun, ArchivesOtherToolsWriteUnpackAsTheyDo) {
  const std::string dotFolder = Sized(2, {Ext(0x02, "."), Ext(0x40, lha::test::Le(0x10, 2))}, "", 1000000000, 'U',
                                      false, "-lhd-");
  const std::string archive =
      lha::test::Level0("-lh0-", "\\LHMELT\\A.TXT", "a", 1, lha::test::Crc("a")) +
      Sized(2, {Ext(0x01, "b.txt"), Ext(0x02, std::string("\xFFhome\xFFu\xFF"))}, "b", 1000000000, 'U') +
      lha::test::Level0("-lh0-", std::string("c.txt\0an Amiga comment", 23), "c", 1, lha::test::Crc("c")) +
      Sized(3, {Ext(0x01, "d.txt")}, "d", 1000000000, '2') + Sized(2, {Ext(0x01, "e.txt")}, "e", 1000000000, 'K', true) +
      dotFolder + Sized(2, {Ext(0x01, "f.txt")}, lha::test::MacBinary("f.txt", "f", "RSRC", 1000000000), 1000000000, 'm') +
      '\0';
  PutArchive("C:\\in\\Mail.lzh", archive);
  std::string output;
  ASSERT_EQ(Run(MeltLine("C:\\in", "C:\\out"), &output), kOk) << output;
  EXPECT_EQ(Tree(Host("C:\\out")),
            (std::map<std::string, std::string>{{"LHMELT", "<dir>"}, {"LHMELT/A.TXT", "a"}, {"home", "<dir>"},
                                                {"home/u", "<dir>"}, {"home/u/b.txt", "b"}, {"c.txt", "c"},
                                                {"d.txt", "d"}, {"e.txt", "e"}, {"f.txt", "f"}}));
  EXPECT_EQ(Run("t \"C:\\in\\Mail.lzh\""), kOk);
}

TEST_F(UnlhaRun, DeepFoldersUnpackUpToWhatWindowsHoldsAndAreRefusedBeyond) {
  auto nested = [](size_t depth) {
    std::vector<std::string> path(depth, "d");
    path.push_back("f.txt");
    return path;
  };
  // C:\R\ and 120 one-letter folders: 244 bytes, within a folder's 247.
  PutArchive("C:\\in\\Mail.lzh", StoredMembers({{nested(120), "deep"}}));
  ASSERT_EQ(Run(MeltLine("C:\\in", "C:\\R")), kOk);
  std::string deepest = "C:\\R";
  for (int i = 0; i < 120; ++i) deepest += "\\d";
  EXPECT_EQ(ReadHostFile(Host(deepest + "\\f.txt")), "deep");
  for (size_t depth : {size_t{130}, size_t{300}, size_t{1000}}) {
    PutArchive("C:\\in\\Mail.lzh", StoredMembers({{nested(depth), "too deep"}, {{"after.txt"}, "after"}}));
    std::string output;
    EXPECT_EQ(Run(MeltLine("C:\\in", "C:\\S"), &output), kCannotWriteFile) << depth;
    EXPECT_NE(output.find("Path too long"), std::string::npos) << output;
    EXPECT_EQ(Tree(Host("C:\\S")), (std::map<std::string, std::string>{{"after.txt", "after"}})) << depth;
  }
}

TEST_F(UnlhaRun, TemporaryFilesNeverTakeAUsersNames) {
  WriteHostFile(Host("C:\\R\\a.txt.$$$"), "the user's own");
  WriteHostFile(Host("C:\\R\\a.txt"), "old");
  PutArchive("C:\\in\\Mail.lzh", StoredMembers({{{"a.txt"}, "new a"}, {{"b.txt.$$$"}, "b dollars"}, {{"b.txt"}, "b"}}));
  ASSERT_EQ(Run(MeltLine("C:\\in", "C:\\R")), kOk);
  EXPECT_EQ(Tree(Host("C:\\R")), (std::map<std::string, std::string>{{"a.txt", "new a"},
                                                                      {"a.txt.$$$", "the user's own"},
                                                                      {"b.txt", "b"},
                                                                      {"b.txt.$$$", "b dollars"}}));

  // Packing, with members large enough to wait in files, leaves the user's files beside the archive alone.
  WriteHostFile(Host("C:\\S\\Inbox.dbx"), lha::test::MailLikeText(200000, 3));
  WriteHostFile(Host("C:\\B\\Mail.lzh.$$$"), "user 1");
  WriteHostFile(Host("C:\\B\\Mail.lzh.$s0"), "user 2");
  ASSERT_EQ(RunCommand(files, PackLine("C:\\B\\Mail.lzh", "C:\\S"), nullptr, 0, {}, 4096), kOk);
  ASSERT_EQ(RunCommand(files, PackLine("C:\\B\\Mail.lzh", "C:\\S"), nullptr, 0, {}, 4096), kOk);
  auto tree = Tree(Host("C:\\B"));
  EXPECT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree["Mail.lzh.$$$"], "user 1");
  EXPECT_EQ(tree["Mail.lzh.$s0"], "user 2");
  EXPECT_EQ(Run("t \"C:\\B\\Mail.lzh\""), kOk);
}

TEST_F(UnlhaRun, NamesAsLongAsAFileSystemTakesUnpack) {
  std::vector<std::pair<std::vector<std::string>, std::string>> members;
  for (size_t length = 252; length <= 255; ++length) members.push_back({{std::string(length, 'n')}, "long"});
  PutArchive("C:\\in\\Mail.lzh", StoredMembers(members));
  std::string output;
  ASSERT_EQ(Run("x -d1 -y1 \"C:\\in\\Mail.lzh\" \"C:\"\\ *.*", &output), kOk) << output;
  for (size_t length = 252; length <= 255; ++length)
    EXPECT_EQ(ReadHostFile(Host("C:\\" + std::string(length, 'n'))), "long") << length;
}

TEST_F(UnlhaRun, TimesComeBackAsTheNearestTheFileSystemHolds) {
  WriteHostFile(Host("C:\\S\\late.txt"), "late");
  ASSERT_TRUE(files.SetModifiedTime("C:\\S\\late.txt", 2200000000));  // 2039-09-18
  fs::create_directories(Host("C:\\in"));
  ASSERT_EQ(Run(PackLine("C:\\in\\Mail.lzh", "C:\\S")), kOk);
  ASSERT_EQ(Run(MeltLine("C:\\in", "C:\\R")), kOk);
  EXPECT_EQ(files.ModifiedTime("C:\\R\\late.txt"), 2200000000);

  const std::string earliest(24, '\0'), latest = std::string(8, '\0') + std::string(8, '\xFF') + std::string(8, '\0');
  PutArchive("C:\\in\\Mail.lzh", Sized(2, {Ext(0x01, "zero.txt"), Ext(0x41, earliest)}, "z", 0, 'W') +
                                       Sized(2, {Ext(0x01, "huge.txt"), Ext(0x41, latest)}, "h", 0, 'W') + '\0');
  ASSERT_EQ(Run(MeltLine("C:\\in", "C:\\T")), kOk);
  EXPECT_LE(*files.ModifiedTime("C:\\T\\zero.txt"), 0);
  EXPECT_GE(*files.ModifiedTime("C:\\T\\huge.txt"), 2200000000);
}

TEST_F(UnlhaRun, LinksInTheDestinationAreNeverWrittenThrough) {
  WriteHostFile(Host("C:\\outside\\secret.txt"), "secret");
  fs::create_directories(Host("C:\\R"));
  fs::create_directory_symlink(Host("C:\\outside"), Host("C:\\R") / "sub");
  fs::create_symlink(Host("C:\\outside\\secret.txt"), Host("C:\\R") / "a.txt");
  fs::create_symlink(Host("C:\\outside") / "planted.txt", Host("C:\\R") / "c.txt.$$$");
  PutArchive("C:\\in\\Mail.lzh", StoredMembers({{{"sub", "x.txt"}, "through a folder"},
                                                   {{"a.txt"}, "through a file"},
                                                   {{"c.txt"}, "c"}}));
  std::string output;
  EXPECT_EQ(Run(MeltLine("C:\\in", "C:\\R"), &output), kLinkNotFollowed);
  EXPECT_NE(output.find("Link not followed, skipped: sub\\x.txt"), std::string::npos) << output;
  EXPECT_NE(output.find("Link not followed, skipped: a.txt"), std::string::npos) << output;
  EXPECT_EQ(Tree(Host("C:\\outside")), (std::map<std::string, std::string>{{"secret.txt", "secret"}}));
  EXPECT_TRUE(fs::is_symlink(Host("C:\\R") / "a.txt"));
  EXPECT_TRUE(fs::is_symlink(Host("C:\\R") / "sub"));
  EXPECT_EQ(ReadHostFile(Host("C:\\R\\c.txt")), "c");
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

TEST_F(UnlhaRun, AnArchiveWithoutItsEndMarkFailsATestAndIsListedAndExtractedWithAWarning) {
  WriteHostFile(Host("C:\\S\\a.dbx"), "first");
  WriteHostFile(Host("C:\\S\\b.dbx"), "second");
  fs::create_directories(Host("C:\\B"));
  ASSERT_EQ(Run(PackLine("C:\\B\\Mail.lzh", "C:\\S")), kOk);
  const std::string archive = ReadHostFile(Host("C:\\B\\Mail.lzh"));
  ASSERT_EQ(archive.back(), '\0');
  PutArchive("C:\\B\\Mail.lzh", archive.substr(0, archive.size() - 1));
  std::string output;
  EXPECT_EQ(Run("t \"C:\\B\\Mail.lzh\"", &output), kArchiveDamaged);
  EXPECT_NE(output.find("no end mark"), std::string::npos) << output;
  for (const std::string& line : {std::string("l \"C:\\B\\Mail.lzh\""), MeltLine("C:\\B", "C:\\R")}) {
    EXPECT_EQ(Run(line, &output), kOk) << line;
    EXPECT_NE(output.find("Warning: the archive has no end mark"), std::string::npos) << output;
  }
  EXPECT_EQ(ReadHostFile(Host("C:\\R\\b.dbx")), "second");
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
