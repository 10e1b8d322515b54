#include <cstdint>
#include <string>

#include "lha/unlha_result.h"
#include "tests/platform/service_contracts.h"
#include "tests/support/sample_text.h"

namespace vorn {
namespace {

std::string RandomBytes(size_t bytes, uint32_t seed) {
  std::string data(bytes, '\0');
  for (char& byte : data) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<char>(seed >> 24);
  }
  return data;
}

// The lines the backup packs the mail store with and the restore unpacks it with.
std::string PackLine(const std::string& archive, const std::string& programFolder, const std::string& storeRoot) {
  return "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"" + archive + "\" \"" + programFolder + "\\\" \"" + storeRoot +
         "\\\" \"*.*\" \"\"";
}

std::string MeltLine(const std::string& archive, const std::string& storeRoot) {
  return "x -d1 -y1 \"" + archive + "\" \"" + storeRoot + "\"\\ *.*";
}

TEST_P(ArchiverContract, TheBackupAndRestoreLinesRecreateTheStoreRootInAnotherFolder) {
  const std::string store = Path("Store Root"), set = Path("バックアップ"), target = Path("新しい Root");
  for (const std::string& folder : {store, store + "\\sub", set, target})
    ASSERT_EQ(files->CreateDirectory(folder), FsResult::Ok) << folder;
  WriteText("Store Root\\Folders.dbx", std::string(1000, '\0'));
  WriteText("Store Root\\Inbox.dbx", test::MailWords(900000, 2));
  WriteText("Store Root\\受信トレイ.dbx", RandomBytes(20000, 3));
  WriteText("Store Root\\empty.dbx", "");
  WriteText("Store Root\\sub\\note.txt", "in a subfolder");
  ASSERT_TRUE(files->SetAttributes(store + "\\Inbox.dbx", fileattr::kReadOnly | fileattr::kArchive));
  ASSERT_TRUE(files->SetModifiedTime(store + "\\Folders.dbx", 1000000000));

  std::string output;
  ASSERT_EQ(service->Unlha(0, PackLine(set + "\\Mail.lzh", base, store), &output, 255), unlha::kOk) << output;
  EXPECT_FALSE(output.empty());
  EXPECT_LE(output.size(), 254u);
  EXPECT_EQ(Tree(*files, set).size(), 1u);  // nothing but the archive is left behind

  // An older read-only copy at the target is replaced.
  WriteText("新しい Root\\Inbox.dbx", "old contents");
  ASSERT_TRUE(files->SetAttributes(target + "\\Inbox.dbx", fileattr::kReadOnly));
  ASSERT_EQ(service->Unlha(0, MeltLine(set + "\\Mail.lzh", target), nullptr, 0), unlha::kOk);
  EXPECT_TRUE(Tree(*files, target) == Tree(*files, store));
  EXPECT_EQ(files->ModifiedTime(target + "\\Folders.dbx"), 1000000000);
  EXPECT_EQ(files->Attributes(target + "\\Inbox.dbx"), fileattr::kReadOnly | fileattr::kArchive);
}

// A folder in the destination that is a link elsewhere is never written through.
TEST_P(ArchiverContract, ALinkedFolderInTheDestinationIsNotFollowed) {
  const std::string store = Path("Store Root"), target = Path("展開"), elsewhere = Path("よそ");
  for (const std::string& folder : {store, store + "\\sub", target, elsewhere})
    ASSERT_EQ(files->CreateDirectory(folder), FsResult::Ok) << folder;
  WriteText("Store Root\\sub\\x.txt", "through the link");
  WriteText("Store Root\\y.txt", "plain");
  ASSERT_EQ(service->Unlha(0, PackLine(Path("Mail.lzh"), base, store), nullptr, 0), unlha::kOk);
  ASSERT_TRUE(GetParam().files.makeLink(target + "\\sub", elsewhere));
  std::string output;
  EXPECT_EQ(service->Unlha(0, MeltLine(Path("Mail.lzh"), target), &output, 4096), unlha::kLinkNotFollowed) << output;
  EXPECT_TRUE(files->List(elsewhere, "*").empty());
  EXPECT_EQ(Tree(*files, target).count("y.txt"), 1u);
}

TEST_P(ArchiverContract, FailuresComeBackAsTheLibrarysCodes) {
  EXPECT_EQ(service->Unlha(0, "z \"" + Path("a.lzh") + "\"", nullptr, 0), unlha::kBadCommand);
  EXPECT_EQ(service->Unlha(0, MeltLine(Path("none.lzh"), base), nullptr, 0), unlha::kArchiveNotFound);
}

}  // namespace
}  // namespace vorn
