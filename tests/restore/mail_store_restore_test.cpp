#include "restore/mail_store_restore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "backup/mail_archive.h"
#include "lha/codec/crc16.h"
#include "lha/codec/member_header.h"
#include "lha/unlha_result.h"
#include "platform/sim/sim_archiver.h"
#include "restore/staged_replace.h"
#include "tests/restore/faulty_file_system.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

const std::string kParent = "C:\\Identities\\{B}\\Microsoft";
const std::string kStore = kParent + "\\Outlook Express";
const std::string kSet = "C:\\Sets\\taro";
const std::string kSource = "C:\\Source\\Outlook Express";

std::string Random(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  return bytes;
}

// A member stored as it is, under any name.
std::string StoredMember(std::vector<std::string> path, const std::string& data) {
  lha::MemberHeader header;
  header.method = "-lh0-";
  header.path = std::move(path);
  header.packedSize = header.originalSize = data.size();
  header.crc = lha::UpdateCrc16(0, data.data(), data.size());
  return lha::EncodeLevel2Header(header) + data;
}

class MailStoreRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    // Also run again by a test, for a fresh start.
    for (const char* folder : {"C:\\Identities", "C:\\Sets"}) fs::remove_all(m_.files.HostPath(folder));
    source_ = {{"Folders.dbx", "the new folder list"},
               {"受信トレイ.dbx", Random(300000, 1)},
               {"Sent Items.dbx", std::string(200000, 'm')},
               {"pop3uidl.txt", "new uidl"}};
    for (const auto& [name, data] : source_) m_.CreateFile(kSource + "\\" + name, data);
    m_.CreateFile(kStore + "\\Folders.dbx", "the old folder list");
    m_.CreateFile(kStore + "\\古いフォルダ.dbx", "old mail");
    m_.CreateFile(kStore + "\\pop3uidl.txt", "old uidl");
    m_.CreateFile(kStore + "\\desktop.ini", "hidden");
    m_.files.SetAttributes(kStore + "\\desktop.ini", fileattr::kHidden);
    m_.files.CreateDirectory("C:\\Sets");
    m_.files.CreateDirectory(kSet);
    ASSERT_EQ(SimArchiver(m_.files).Unlha(0, MailArchiveCommandLine(kSet + "\\Mail.lzh", "C:\\Program Files\\Vorn", kSource),
                                          nullptr, 0),
              0);
    storeRootFiles_ = ListStoreRootFiles(m_.files, kStore);
    before_ = Tree(kParent);
  }

  std::map<std::string, std::string> Tree(const std::string& folder) const { return m_.Tree(folder); }

  std::map<std::string, std::string> Restored() const {
    std::map<std::string, std::string> tree;
    for (const auto& [name, data] : source_) tree["Outlook Express/" + name] = data;
    tree["Outlook Express"] = "<dir>";
    tree["Outlook Express/desktop.ini"] = "hidden";
    return tree;
  }

  MailStoreOutcome Melt(Archiver& archiver) {
    StagedReplace staged(faulty_, kStore);
    const MailStoreOutcome outcome = StageMailArchive(faulty_, archiver, 7, kSet, staged);
    return outcome.restored ? CommitMailStore(staged, storeRootFiles_) : outcome;
  }
  MailStoreOutcome Copy(Shell& shell) {
    StagedReplace staged(faulty_, kStore);
    const MailStoreOutcome outcome = StageMailCopy(faulty_, shell, 7, kSet, staged);
    return outcome.restored ? CommitMailStore(staged, storeRootFiles_) : outcome;
  }
  MailStoreOutcome Melt() {
    SimArchiver archiver(faulty_);
    return Melt(archiver);
  }

  SimMachine m_;
  FaultyFileSystem faulty_{m_.files};
  std::map<std::string, std::string> source_;
  std::vector<std::string> storeRootFiles_;
  std::map<std::string, std::string> before_;
};

TEST_F(MailStoreRestore, TheStoreRootFileListLeavesOutFoldersAndHiddenAndSystemFiles) {
  m_.CreateFile(kStore + "\\sub\\x.dbx");
  m_.CreateFile(kStore + "\\system.dat");
  m_.files.SetAttributes(kStore + "\\system.dat", fileattr::kSystem);
  EXPECT_EQ(ListStoreRootFiles(m_.files, kStore),
            (std::vector<std::string>{"Folders.dbx", "pop3uidl.txt", "古いフォルダ.dbx"}));
}

TEST_F(MailStoreRestore, TheArchiveIsUnpackedBesideTheStoreRootAndThenTakesItsPlace) {
  RecordingArchiver recording;
  SimArchiver archiver(faulty_);
  recording.onRun = [&](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
    EXPECT_TRUE(m_.files.IsDirectory(kStore + "~vorn-new1"));
    return archiver.Unlha(owner, line, out, size);
  };
  const auto outcome = Melt(recording);
  EXPECT_TRUE(outcome.restored) << outcome.problem;
  EXPECT_EQ(recording.commands,
            std::vector<std::string>{"x -d1 -y1 \"" + kSet + "\\Mail.lzh\" \"" + kStore + "~vorn-new1\"\\ *.*"});
  EXPECT_EQ(Tree(kParent), Restored());
  // A read-only file of the old store is replaced like any other.
  m_.files.SetAttributes(kStore + "\\pop3uidl.txt", fileattr::kReadOnly);
  storeRootFiles_ = ListStoreRootFiles(m_.files, kStore);
  EXPECT_TRUE(Melt().restored);
  EXPECT_EQ(Tree(kParent), Restored());
}

struct Fault {
  const char* name;
  std::function<void(MailStoreRestore&, SimMachine&, FaultyFileSystem&)> arrange;
  int32_t archiverResult;  // -1: any non-zero code
};

TEST_F(MailStoreRestore, EveryFailureLeavesTheOldStoreExactlyAsItWas) {
  const std::string archive = m_.ReadFile(kSet + "\\Mail.lzh");
  std::string flipped = archive;
  flipped[archive.size() / 2] = static_cast<char>(flipped[archive.size() / 2] ^ 0x40);
  const Fault faults[] = {
      {"damaged member", [&](auto&, SimMachine& m, auto&) { m.CreateFile(kSet + "\\Mail.lzh", flipped); }, -1},
      {"truncated archive",
       [&](auto&, SimMachine& m, auto&) { m.CreateFile(kSet + "\\Mail.lzh", archive.substr(0, archive.size() / 2)); }, -1},
      {"archive without members", [&](auto&, SimMachine& m, auto&) { m.CreateFile(kSet + "\\Mail.lzh", std::string(1, '\0')); }, 0},
      {"cut at a member boundary",
       [&](auto&, SimMachine& m, auto&) {
         m.CreateFile(kSet + "\\Mail.lzh", StoredMember({"Folders.dbx"}, "list") + StoredMember({"Inbox.dbx"}, "x"));
       },
       unlha::kArchiveDamaged},
      {"unsafe names",
       [&](auto&, SimMachine& m, auto&) {
         m.CreateFile(kSet + "\\Mail.lzh", StoredMember({"..", "escaped.dbx"}, "x") +
                                               StoredMember({"..", "..", "..", "..", "evil.txt"}, "x") +
                                               StoredMember({"C:", "drive.txt"}, "x") +
                                               StoredMember({"Folders.dbx"}, "list") + '\0');
       },
       unlha::kUnsafeName},
      {"disk full while unpacking", [](auto&, auto&, FaultyFileSystem& f) { f.freeBytes = 250000; }, -1},
      {"an old file in use",
       [](auto&, auto&, FaultyFileSystem& f) {
         f.refuseMove = [](const std::string& from, const std::string&) { return from == kStore + "\\古いフォルダ.dbx"; };
       },
       0},
      {"a new file refused",
       [](auto&, auto&, FaultyFileSystem& f) {
         f.refuseMove = [](const std::string&, const std::string& to) { return to == kStore + "\\Sent Items.dbx"; };
       },
       0},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.name);
    SetUp();
    fault.arrange(*this, m_, faulty_);
    const auto outcome = Melt();
    faulty_.freeBytes.reset();
    faulty_.refuseMove = nullptr;
    EXPECT_FALSE(outcome.restored);
    if (fault.archiverResult == -1) EXPECT_NE(outcome.archiverResult, 0);
    else EXPECT_EQ(outcome.archiverResult, fault.archiverResult);
    EXPECT_EQ(Tree(kParent), before_);
    EXPECT_FALSE(m_.files.Exists("C:\\Identities\\{B}\\escaped.dbx"));
    EXPECT_FALSE(m_.files.Exists("C:\\evil.txt"));
    EXPECT_FALSE(m_.files.Exists("C:\\drive.txt"));
  }
  // No archiver library: nothing is touched either.
  SetUp();
  RecordingArchiver missing;
  missing.result = 0x8010;
  EXPECT_EQ(Melt(missing).archiverResult, 0x8010);
  EXPECT_EQ(Tree(kParent), before_);
}

TEST_F(MailStoreRestore, APlainCopyTakesTheStoreRootsPlaceOnlyWhenEveryFolderFileIsThere) {
  for (const auto& [name, data] : source_)
    if (name != "pop3uidl.txt") m_.CreateFile(kSet + "\\Mail\\" + name, data);
  SimShell shell(faulty_);
  faulty_.freeBytes = 400000;
  EXPECT_FALSE(Copy(shell).restored);
  EXPECT_EQ(Tree(kParent), before_);
  faulty_.freeBytes.reset();
  EXPECT_TRUE(Copy(shell).restored);
  auto expected = Restored();
  expected.erase("Outlook Express/pop3uidl.txt");  // only folder files are copied
  EXPECT_EQ(Tree(kParent), expected);
  EXPECT_EQ(shell.transfers.back().source, kSet + "\\Mail\\*.dbx");
}

TEST(StagedReplace, NoStagingThroughALinkAtAnyLevel) {
  namespace fs = std::filesystem;
  for (const std::string level : {"C:\\T", "C:\\T\\Target"}) {
    SimMachine m;
    m.CreateFile("C:\\Elsewhere\\kept", "kept");
    fs::create_directories(m.files.HostPath(level).parent_path());
    fs::create_directory_symlink(m.files.HostPath("C:\\Elsewhere"), m.files.HostPath(level));
    StagedReplace staged(m.files, "C:\\T\\Target");
    EXPECT_TRUE(staged.staging().empty()) << level;
    EXPECT_EQ(staged.link(), level);
    EXPECT_FALSE(staged.Commit({}));
    EXPECT_EQ(std::distance(fs::directory_iterator(m.files.HostPath("C:\\Elsewhere")), fs::directory_iterator()), 1)
        << level;
  }
}

TEST(StagedReplace, HoldingAndStagingFoldersAreFreshAndAFailedRollBackKeepsTheOldFiles) {
  SimMachine m;
  m.CreateFile("C:\\T\\Target\\a", "old a");
  m.CreateFile("C:\\T\\Target~vorn-new1\\someone else's", "kept");
  FaultyFileSystem faulty(m.files);
  {
    StagedReplace staged(faulty, "C:\\T\\Target");
    EXPECT_EQ(staged.staging(), "C:\\T\\Target~vorn-new2");
    m.CreateFile(staged.staging() + "\\a", "new a");
    m.CreateFile(staged.staging() + "\\b", "new b");
    // The old a steps aside and the new one moves in; then nothing moves any more, so the old a
    // cannot go back and stays where it can be found.
    int moves = 0;
    faulty.refuseMove = [&moves](const std::string&, const std::string&) { return ++moves > 2; };
    EXPECT_FALSE(staged.Commit({"a"}));
    EXPECT_EQ(staged.unrestored(), "C:\\T\\Target~vorn-old1");
    EXPECT_EQ(m.ReadFile("C:\\T\\Target~vorn-old1\\a"), "old a");
  }
  EXPECT_FALSE(m.files.Exists("C:\\T\\Target~vorn-new2"));
  EXPECT_EQ(m.ReadFile("C:\\T\\Target~vorn-new1\\someone else's"), "kept");
}

}  // namespace
}  // namespace vorn
