// A set's mail read in place and exported, from a set assembled by hand: the folder files plain
// in "Mail\" or packed by jlha into "Mail.lzh".
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "dbx/message_extraction.h"
#include "lha/archive_members.h"
#include "platform/sim/sim_file_system.h"
#include "setread/export_names.h"
#include "setread/set_contents.h"
#include "setread/set_export.h"
#include "tests/dbx/dbx_test_support.h"
#include "tests/setread/set_sample.h"

namespace vorn::test {
namespace {

namespace fs = std::filesystem;

const std::string kSet = "C:\\Sets\\太郎";
const std::string kOut = "C:\\Out";

class Progress : public SetExportProgress {
 public:
  void Update(size_t done, size_t folders, int64_t messages) override {
    EXPECT_GE(done, lastDone);
    EXPECT_GE(messages, lastMessages);
    lastDone = done;
    lastMessages = messages;
    total = folders;
  }
  size_t lastDone = 0, total = 0;
  int64_t lastMessages = 0;
};

class NoProgress : public ExtractionProgress {
 public:
  void Begin(int32_t) override {}
  void Update(int32_t) override {}
  void End(int32_t) override {}
};

class SetRead : public DbxStore {
 protected:
  void MakeSet(bool compressed, bool unusualNames = true) {
    store = SampleStore(unusualNames);
    WriteSampleStore(files.HostPath("C:\\Store"), store);
    WriteHandMadeSet(files.HostPath("C:\\Sets") / "太郎", files.HostPath("C:\\Store"), compressed);
  }
  SetExportOutcome Export(ExportForm form) {
    progress = Progress();
    return ExportSetMail(files, kSet, kOut, form, progress);
  }
  // Every file below a folder, by its path there.
  std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    const fs::path root = files.HostPath(folder);
    if (!fs::exists(root)) return tree;
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_regular_file()) tree[fs::relative(entry.path(), root).string()] = ReadHostFile(entry.path());
    return tree;
  }
  const ExportedFolder* Folder(const SetExportOutcome& outcome, const std::string& fileName) {
    for (const auto& folder : outcome.folders)
      if (folder.label == "Mail.lzh: " + fileName || folder.label == "Mail\\" + fileName) return &folder;
    return nullptr;
  }

  std::vector<SampleFolder> store;
  Progress progress;
};

class EitherSet : public SetRead, public ::testing::WithParamInterface<bool> {};

TEST_P(EitherSet, ExportGivesEveryFolderTheWindowsExtractionUnderANameOfItsOwn) {
  MakeSet(GetParam());
  const SetExportOutcome outcome = Export(ExportForm::MessageFiles);
  ASSERT_TRUE(outcome.Complete());
  EXPECT_EQ(outcome.folders.size(), store.size() - 1) << "Folders.dbx is no mail folder";
  EXPECT_EQ(progress.lastDone, outcome.folders.size());
  EXPECT_EQ(progress.total, outcome.folders.size());
  std::set<std::string> outputs;
  int64_t messages = 0;
  for (const auto& sample : store) {
    if (sample.fileName == "Folders.dbx") continue;
    SCOPED_TRACE(sample.fileName);
    const ExportedFolder* folder = Folder(outcome, sample.fileName);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->messages, static_cast<int32_t>(ExtractedMessages(sample).size()));
    messages += folder->messages;
    if (sample.description.messages.empty()) {
      EXPECT_EQ(folder->output, "") << "an empty folder writes nothing, as the extraction does";
      continue;
    }
    ASSERT_EQ(folder->output.rfind(kOut + "\\", 0), 0u);
    outputs.insert(folder->output.substr(kOut.size() + 1));
    const std::string reference = "C:\\Reference\\" + std::to_string(outputs.size());
    NoProgress none;
    ExtractFile(files, "C:\\Store\\" + sample.fileName, reference + "\\", none);
    EXPECT_EQ(Tree(folder->output), Tree(reference));
  }
  EXPECT_EQ(progress.lastMessages, messages);
  EXPECT_EQ(outputs, (std::set<std::string>{"受信トレイ", "送信済みアイテム", "fj.comp.mail", "MyMail - 受信トレイ",
                                            "仕事", "a_b_", "a_b_ (2)", "CON_", "dots__"}));
  const auto inbox = Tree(kOut + "\\受信トレイ");
  EXPECT_EQ(inbox.at("00000.eml"), ExtractedMessages(store[0])[0]);
  EXPECT_EQ(Tree(kOut + "\\fj.comp.mail").size(), 3u) << "news and mail of a news group stay together";
  EXPECT_TRUE(inbox.count("00005.eml") && !inbox.count("00006.eml")) << "the record of neither kind takes no number";
}

TEST_P(EitherSet, MboxFilesHoldEveryMessageAfterItsFromLineWithMboxrdQuoting) {
  MakeSet(GetParam(), false);
  const SetExportOutcome outcome = Export(ExportForm::Mbox);
  ASSERT_TRUE(outcome.Complete());
  EXPECT_EQ(Folder(outcome, "受信トレイ.dbx")->output, kOut + "\\受信トレイ.mbox");
  EXPECT_EQ(Folder(outcome, "受信トレイ.dbx")->messages, 6);
  EXPECT_EQ(Folder(outcome, "送信トレイ.dbx")->output, "");
  EXPECT_EQ(Tree(kOut).size(), 5u);
  const std::string inbox = Read(kOut + "\\受信トレイ.mbox");
  const std::string first = ExtractedMessages(store[0])[0];
  const std::string head = first.substr(0, first.find("\r\n\r\n") + 4);
  std::string headLf;
  for (char c : head)
    if (c != '\r') headLf += c;
  EXPECT_EQ(inbox, "From hanako@example.jp Wed May 12 00:05:03 2004\n" + headLf +
                       "\x96\x7b\x95\xb6\x82\xc5\x82\xb7\x81\x42\n"
                       ">From the start of a line\n>>From quoted once\n>>>From twice\nFrom\nFrom:no blank\n\n"
                       "From relay@example.jp Thu May 13 10:00:00 2004\n"
                       "Received: from mx.example.jp by pop.example.jp; Thu, 13 May 2004 10:00:00 +0000\n"
                       "From: not an address\nReturn-Path: <>\nSender: relay@example.jp\n\nno date, a sender\n\n"
                       "From taro@example.jp Thu Jan  1 00:00:00 1970\n"
                       "Date: yesterday\nFrom: \"Yamada, Taro\" <taro@example.jp>\n\nbad date, no line end\n\n"
                       "From lf@example.jp Fri Jan  1 00:00:00 1999\n"
                       "From: lf@example.jp\nDate: 1 Jan 99 00:00 GMT\n\nline feeds only\n>From here\n\n"
                       "From cr@example.jp Thu Jan  1 00:00:00 1970\nFrom: cr@example.jp\n\nends in a lone CR\r\n\n"
                       "From MAILER-DAEMON Thu Jan  1 00:00:00 1970\n\nno header at all\n\n");
  EXPECT_EQ(Read(kOut + "\\送信済みアイテム.mbox").substr(0, 45), "From taro@example.jp Sun Mar  1 01:29:59 2020");
  EXPECT_EQ(Read(kOut + "\\fj.comp.mail.mbox").substr(0, 45), "From user@example.jp Thu May 13 01:00:00 2004");
}

INSTANTIATE_TEST_SUITE_P(CompressedAndPlain, EitherSet, ::testing::Bool());

TEST_F(SetRead, ADamagedMemberIsSkippedAndEveryOtherFolderExported) {
  MakeSet(true);
  const fs::path archive = files.HostPath(kSet + "\\Mail.lzh");
  std::string bytes = ReadHostFile(archive);
  // A byte in the middle of the packed data of the largest folder.
  uint64_t packed = 0;
  {
    auto members = unlha::ArchiveMembers::Open(files, kSet + "\\Mail.lzh");
    unlha::MemberInfo member;
    while (members->Next(member) == unlha::ArchiveMembers::Step::Member)
      if (member.name == "仕事.dbx") packed = member.packedSize;
  }
  const size_t name = bytes.find("\x8e\x64\x8e\x96.dbx");  // 仕事.dbx in code page 932
  ASSERT_NE(name, std::string::npos);
  ASSERT_GT(packed, 1000u);
  bytes[name + 40 + packed / 2] ^= 0x55;
  WriteHostFile(archive, std::vector<unsigned char>(bytes.begin(), bytes.end()));

  for (ExportForm form : {ExportForm::MessageFiles, ExportForm::Mbox}) {
    fs::remove_all(files.HostPath(kOut));
    const SetExportOutcome outcome = Export(form);
    EXPECT_FALSE(outcome.Complete());
    const ExportedFolder* work = Folder(outcome, "仕事.dbx");
    ASSERT_NE(work, nullptr);
    EXPECT_FALSE(work->memberDamage.empty());
    EXPECT_EQ(work->output, "");
    EXPECT_FALSE(HostExists(kOut + "\\仕事")) << "nothing of a damaged member stays";
    EXPECT_FALSE(HostExists(kOut + "\\仕事.mbox"));
    size_t whole = 0;
    for (const auto& folder : outcome.folders) whole += folder.Whole();
    EXPECT_EQ(whole, outcome.folders.size() - 1);
    EXPECT_EQ(Tree(kOut).count(form == ExportForm::Mbox ? "受信トレイ.mbox" : "受信トレイ/00000.eml"), 1u);
  }
  // A damaged header: the members before it are exported, the archive's problem is told.
  bytes = ReadHostFile(archive);
  bytes[name] = 'X';
  WriteHostFile(archive, std::vector<unsigned char>(bytes.begin(), bytes.end()));
  fs::remove_all(files.HostPath(kOut));
  const SetExportOutcome cut = Export(ExportForm::MessageFiles);
  EXPECT_FALSE(cut.Complete());
  EXPECT_NE(cut.archiveProblem.find("Mail.lzh"), std::string::npos) << cut.archiveProblem;
  EXPECT_LT(cut.folders.size(), store.size() - 1);
}

TEST_F(SetRead, ADamagedFolderFileIsRecoveredFromItsBlockChains) {
  MakeSet(false);
  // The tenth message of 仕事.dbx points past the end of the file.
  SampleFolder work = store.back();
  for (const auto& sample : store)
    if (sample.fileName == "仕事.dbx") work = sample;
  DbxImage image = WriteDbx(work.description);
  Put32(image.bytes, static_cast<size_t>(image.blockOffsets[9][0]) + 0x0C, 0x7FFFFFF0);
  Put(kSet + "\\Mail\\仕事.dbx", image.bytes);
  const SetExportOutcome outcome = Export(ExportForm::MessageFiles);
  EXPECT_FALSE(outcome.Complete());
  const ExportedFolder* folder = Folder(outcome, "仕事.dbx");
  EXPECT_NE(folder->error, DbxError::None);
  EXPECT_TRUE(folder->memberDamage.empty());
  EXPECT_TRUE(folder->recovered);
  EXPECT_EQ(folder->cut, 1) << "the message that broke off";
  EXPECT_EQ(Tree(folder->output).size(), static_cast<size_t>(folder->messages));
  EXPECT_EQ(static_cast<size_t>(folder->messages), work.description.messages.size());
}

TEST_F(SetRead, NothingInTheOutputFolderIsWrittenOverAndNoSetIsTold) {
  MakeSet(false);
  Put(kOut + "\\受信トレイ\\00000.eml", {'m', 'i', 'n', 'e'});
  Put(kOut + "\\仕事.mbox", {'m', 'i', 'n', 'e'});
  // Links under the names, to a folder elsewhere and to nowhere, are never written through.
  fs::create_directories(files.HostPath("C:\\Elsewhere"));
  fs::create_directory_symlink(files.HostPath("C:\\Elsewhere"), files.HostPath(kOut) / "fj.comp.mail");
  fs::create_symlink(files.HostPath("C:\\Nowhere"), files.HostPath(kOut) / "fj.comp.mail.mbox");
  fs::create_symlink(files.HostPath("C:\\Nowhere"), files.HostPath(kOut) / "仕事");
  EXPECT_TRUE(Export(ExportForm::MessageFiles).Complete());
  EXPECT_TRUE(Export(ExportForm::Mbox).Complete());
  EXPECT_TRUE(fs::is_empty(files.HostPath("C:\\Elsewhere")));
  EXPECT_FALSE(fs::exists(files.HostPath("C:\\Nowhere")));
  EXPECT_TRUE(HostExists(kOut + "\\fj.comp.mail (2)\\00000.nws"));
  EXPECT_TRUE(HostExists(kOut + "\\fj.comp.mail (2).mbox"));
  EXPECT_EQ(Read(kOut + "\\受信トレイ\\00000.eml"), "mine");
  EXPECT_EQ(Read(kOut + "\\仕事.mbox"), "mine");
  EXPECT_EQ(Read(kOut + "\\受信トレイ (2)\\00000.eml"), ExtractedMessages(store[0])[0]);
  EXPECT_TRUE(HostExists(kOut + "\\仕事 (2)\\00039.eml"));
  EXPECT_TRUE(HostExists(kOut + "\\仕事 (2).mbox"));

  // A drive's root as the output folder: the names follow its backslash.
  fs::create_directories(files.HostPath("D:\\"));
  progress = Progress();
  const SetExportOutcome atRoot = ExportSetMail(files, kSet, "D:\\", ExportForm::Mbox, progress);
  EXPECT_TRUE(atRoot.Complete());
  EXPECT_EQ(Folder(atRoot, "仕事.dbx")->output, "D:\\仕事.mbox");
  EXPECT_TRUE(HostExists("D:\\仕事.mbox"));

  Put("C:\\File", {'x'});
  EXPECT_FALSE(ExportSetMail(files, kSet, "C:\\File", ExportForm::Mbox, progress).outputCreated);
  fs::remove(files.HostPath(kSet + "\\Reg\\Account.reg"));
  const SetExportOutcome notASet = Export(ExportForm::MessageFiles);
  EXPECT_FALSE(notASet.isSet);
  fs::create_directories(files.HostPath("C:\\Bare\\Reg"));
  Put("C:\\Bare\\Reg\\Account.reg", {'x'});
  const SetExportOutcome noMail = ExportSetMail(files, "C:\\Bare", kOut, ExportForm::Mbox, progress);
  EXPECT_TRUE(noMail.isSet);
  EXPECT_FALSE(noMail.hasMail);
}

TEST_F(SetRead, ContentsListTheFilesAndEveryFolderWithItsKindAndCount) {
  MakeSet(true);
  Put(kSet + "\\Favorites\\Links\\a.url", {'a'});
  Put(kSet + "\\Favorites\\b.url", {'b', 'b'});
  Put(kSet + "\\Wab\\taro.wab", {'w'});
  const auto listed = ListSetFiles(files, kSet);
  std::vector<std::string> paths;
  for (const auto& entry : listed) paths.push_back(entry.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"Favorites\\", "Mail.lzh", "Reg\\Account.reg", "Reg\\VornInfo.dat",
                                             "Wab\\taro.wab"}));
  EXPECT_EQ(listed[0].files, 2u);
  EXPECT_EQ(listed[0].bytes, 3u);

  auto mail = SetMailFolders::Open(files, kSet);
  ASSERT_TRUE(mail);
  EXPECT_EQ(mail->sourceName(), "Mail.lzh");
  EXPECT_EQ(mail->count(), store.size() - 1);
  std::map<std::string, std::pair<std::string, int32_t>> seen;
  EXPECT_EQ(SummarizeSetMail(*mail, [&](const SetFolderSummary& folder) {
              EXPECT_EQ(folder.error, DbxError::None) << folder.file.name;
              EXPECT_EQ(folder.memberDamage, "") << folder.file.name;
              seen[folder.file.name] = {folder.kind, folder.messageCount};
            }),
            "");
  for (const auto& sample : store) {
    if (sample.fileName == "Folders.dbx") continue;
    ASSERT_TRUE(seen.count(sample.fileName)) << sample.fileName;
    EXPECT_EQ(seen[sample.fileName].second, static_cast<int32_t>(sample.description.messages.size()));
  }
  EXPECT_EQ(seen["受信トレイ.dbx"].first, "mail");
  EXPECT_EQ(seen["送信トレイ.dbx"].first, "mail") << "an empty folder counts as mail, as the scan takes it";
  EXPECT_EQ(seen["fj.comp.mail.dbx"].first, "news");
}

TEST(ExportNames, NamesAreMadeValidForWindowsAndStayOneName) {
  const std::pair<const char*, const char*> cases[] = {
      {"受信トレイ", "受信トレイ"}, {"a/b\\c", "a_b_c"},     {"x:y*z?\"<>|", "x_y_z_____"},
      {"..", "__"},                 {".", "_"},               {"", "_"},
      {"name. ", "name__"},         {"CON", "CON_"},          {"nul.txt", "nul_.txt"},
      {"COM1", "COM1_"},            {"COM10", "COM10"},       {"console", "console"},
      {"Tom's; mail", "Tom's; mail"}, {"tab\there", "tab_here"}, {"fj.comp.mail", "fj.comp.mail"},
  };
  for (const auto& [name, valid] : cases) EXPECT_EQ(ValidFolderName(name), valid) << name;
}

}  // namespace
}  // namespace vorn::test
