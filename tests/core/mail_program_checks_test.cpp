#include "core/mail_program_checks.h"

#include <gtest/gtest.h>

#include "tests/backup/backup_machine.h"
#include "ui/form1.h"

namespace vorn {
namespace {

TEST(CountRunningProcesses, MatchesTheTrailingNameInItsTwoSpellings) {
  SimProcesses processes;
  processes.running = {"C:\\PROGRAM FILES\\OUTLOOK EXPRESS\\MSIMN.EXE", "msimn.exe", "MsImn.exe", "explorer.exe",
                       "C:\\WINDOWS\\wab.exe", "WAB.EXE", "Wab.exe"};
  EXPECT_EQ(CountRunningProcesses(processes, "Msimn.exe"), 2);
  EXPECT_EQ(CountRunningProcesses(processes, "Wab.exe"), 2);
  EXPECT_EQ(CountRunningProcesses(processes, "explorer.exe"), 0);
  processes.snapshotAvailable = false;
  EXPECT_EQ(CountRunningProcesses(processes, "Msimn.exe"), 0);
}

// Passes everything to the simulated file system, except that the rename back of the folder
// list fails as when another program grabs the name in between.
class RenameBackFails : public SimFileSystem {
 public:
  RenameBackFails(std::filesystem::path root, FsResult failure) : SimFileSystem(std::move(root)), failure_(failure) {}
  FsResult MoveFile(const std::string& from, const std::string& to) override {
    if (from.ends_with("Folders.dat")) return failure_;
    return SimFileSystem::MoveFile(from, to);
  }

 private:
  FsResult failure_;
};

TEST(MailStoreFree, IsFalseOnlyWhileTheFolderListIsInUse) {
  SimMachine m;
  const std::string root = "C:\\Store";
  EXPECT_TRUE(MailStoreFree(m.files, root));  // no Store Root at all
  m.files.CreateDirectory(root);
  EXPECT_TRUE(MailStoreFree(m.files, root));  // no Folders.dbx
  m.CreateFile(root + "\\Folders.dbx", "list");
  EXPECT_TRUE(MailStoreFree(m.files, root));
  EXPECT_EQ(m.ReadFile(root + "\\Folders.dbx"), "list");
  EXPECT_FALSE(m.files.Exists(root + "\\Folders.dat"));
  m.CreateFile(root + "\\Folders.dat", "someone else's");
  EXPECT_TRUE(MailStoreFree(m.files, root));
  EXPECT_EQ(m.ReadFile(root + "\\Folders.dat"), "someone else's");
  m.files.MarkInUse(root + "\\Folders.dbx");
  EXPECT_FALSE(MailStoreFree(m.files, root));
  EXPECT_EQ(m.ReadFile(root + "\\Folders.dbx"), "list");
}

TEST(MailStoreFree, AFailedRenameBackPutsTheListBackAndIsBusyOnlyForDeniedAccess) {
  for (auto [failure, free] : {std::pair{FsResult::AccessDenied, false}, {FsResult::AlreadyExists, true},
                               {FsResult::NotFound, true}, {FsResult::Failed, true}}) {
    SimMachine m;
    RenameBackFails files(m.hostRoot, failure);
    m.CreateFile("C:\\Store\\Folders.dbx", "list");
    EXPECT_EQ(MailStoreFree(files, "C:\\Store"), free) << static_cast<int>(failure);
    EXPECT_EQ(m.ReadFile("C:\\Store\\Folders.dbx"), "list");
    EXPECT_FALSE(files.Exists("C:\\Store\\Folders.dat"));
  }
}

class BeforeRestore : public ::testing::Test {
 protected:
  BeforeRestore() { b.StartAndPick(); }
  void RunAs(uint32_t platformId, uint32_t major, uint32_t minor) {
    b.m.environment.osVersion = OsVersionInfo{platformId, major, minor};
    b.m.ui.messages.clear();
    passed = CheckMailProgramBeforeRestore(*b.m.app);
  }
  BackupMachine b;
  bool passed = false;
};

TEST_F(BeforeRestore, ARunningOutlookExpressBlocksEveryFamilyButXp) {
  b.m.processes.running = {"C:\\Program Files\\Outlook Express\\msimn.exe"};
  for (auto [id, major, minor] : {std::tuple{1u, 4u, 10u}, {1u, 4u, 90u}, {2u, 5u, 0u}}) {
    RunAs(id, major, minor);
    EXPECT_FALSE(passed);
    ASSERT_EQ(b.m.ui.messages.size(), 1u);
    EXPECT_EQ(b.m.ui.messages[0].text, "Outlook Express (Msimn.exe)が起動しています。\r\n終了して下さい。");
    EXPECT_EQ(b.m.ui.messages[0].title, "Vorn");
    EXPECT_EQ(b.m.ui.messages[0].helpContext, 1);
  }
  RunAs(2, 5, 1);  // XP: only a locked folder list counts
  EXPECT_TRUE(passed);
  EXPECT_TRUE(b.m.ui.messages.empty());
  b.m.files.MarkInUse(b.StoreRoot(kTaroGuid) + "\\Folders.dbx");
  RunAs(2, 5, 1);
  EXPECT_FALSE(passed);
  ASSERT_EQ(b.m.ui.messages.size(), 1u);
  EXPECT_EQ(b.m.ui.messages[0].text, "Outlook Express(Msimn.exe)が実行中です。終了して下さい。");
}

TEST_F(BeforeRestore, NothingRunningPasses) {
  RunAs(1, 4, 10);
  EXPECT_TRUE(passed);
  EXPECT_TRUE(b.m.ui.messages.empty());
}

TEST(RepairReadOnlyFiles, ClearsEveryListedStoresFilesAndTheAddressBookOnce) {
  BackupMachine b;
  b.StartAndPick(1);
  FileSystem& files = b.m.files;
  const std::string hanakoMail = b.StoreRoot(kHanakoGuid) + "\\受信トレイ.dbx";
  const std::string taroText = b.StoreRoot(kTaroGuid) + "\\pop3uidl.txt";
  const std::string wab = b.m.app->env.wabFilePath;
  files.SetAttributes(hanakoMail, fileattr::kReadOnly | fileattr::kHidden);
  files.SetAttributes(taroText, fileattr::kReadOnly);
  files.SetAttributes(wab, fileattr::kReadOnly);
  b.m.ui.messages.clear();
  RepairReadOnlyFiles(*b.m.app);
  EXPECT_EQ(files.Attributes(hanakoMail), fileattr::kNormal);
  EXPECT_EQ(files.Attributes(taroText), fileattr::kNormal);
  EXPECT_EQ(files.Attributes(wab), fileattr::kNormal);
  ASSERT_EQ(b.m.ui.messages.size(), 1u);
  EXPECT_EQ(b.m.ui.messages[0].title, "修正");
  EXPECT_EQ(b.m.ui.messages[0].helpContext, 14);
  EXPECT_EQ(b.m.ui.messages[0].text.rfind("Outlook Expressのデータファイル(*.dbx)や", 0), 0u);
  // The selection stays with the user picked in the window.
  EXPECT_EQ(b.m.app->env.selectedIdentityGuid, "{" + kHanakoGuid + "}");
  EXPECT_EQ(b.m.app->env.storeRootFolder, b.StoreRoot(kHanakoGuid));
  b.m.ui.messages.clear();
  RepairReadOnlyFiles(*b.m.app);
  EXPECT_TRUE(b.m.ui.messages.empty());
}

}  // namespace
}  // namespace vorn
