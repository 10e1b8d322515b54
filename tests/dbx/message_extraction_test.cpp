#include <gtest/gtest.h>

#include <filesystem>

#include "dbx/message_extraction.h"
#include "platform/sim/sim_ui_services.h"
#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

class RecordingProgress : public ExtractionProgress {
 public:
  void Begin(int32_t maximum) override { this->maximum = maximum; }
  void Update(int32_t value) override { values.push_back(value); }
  void End(int32_t named) override { ended = named; }
  int32_t maximum = -1;
  std::vector<int32_t> values;
  int32_t ended = -1;
};

DbxMessage Message(MessageKind kind, const std::string& text) {
  DbxMessage message;
  message.kind = kind;
  message.text = text;
  return message;
}

class ExtractionTest : public DbxStore {
 protected:
  ExtractFolderRequest Request(const std::string& folder) {
    return {"C:\\Store", "", folder, "C:\\Backup", "taro"};
  }
  std::string Out(const std::string& folder, const std::string& file) {
    return "C:\\Backup\\taro\\Eml_Nws\\" + folder + "\\" + file;
  }
  SimUiServices ui;
  RecordingProgress progress;
};

TEST_F(ExtractionTest, MailAndNewsAreNumberedApartInIndexOrder) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "m0\r\n"), Message(MessageKind::News, "n0"),
                          Message(MessageKind::Unclassified, "skipped"), Message(MessageKind::Mail, "m1\n"),
                          Message(MessageKind::News, "n1\r"), Message(MessageKind::Mail, std::string(2000, 'm'))};
  description.messages[3].direct = false;
  description.messages[4].direct = false;
  Put("C:\\Store\\受信トレイ.dbx", WriteDbx(description).bytes);

  ExtractionResult result = ExtractFolder(files, ui, Request("受信トレイ"), progress);
  EXPECT_EQ(result.error, DbxError::None);
  EXPECT_EQ(Read(Out("受信トレイ", "00000.eml")), "m0\r\n");
  EXPECT_EQ(Read(Out("受信トレイ", "00000.nws")), "n0\r\n");
  EXPECT_EQ(Read(Out("受信トレイ", "00001.eml")), "m1\n");
  EXPECT_EQ(Read(Out("受信トレイ", "00001.nws")), "n1\r\r\n");
  EXPECT_EQ(Read(Out("受信トレイ", "00002.eml")), std::string(2000, 'm') + "\r\n");
  EXPECT_EQ(files.List("C:\\Backup\\taro\\Eml_Nws\\受信トレイ", "*").size(), 5u);

  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "5 通のﾒｯｾｰｼﾞを処理しました。");
  EXPECT_EQ(ui.messages[0].title, "完了");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(progress.maximum, 6);
  EXPECT_EQ(progress.values, (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(progress.ended, 5);
}

TEST_F(ExtractionTest, EmptyHeaderCountWritesNothing) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "m0")};
  description.headerCount = 0;
  Put("C:\\Store\\Empty.dbx", WriteDbx(description).bytes);
  ExtractionResult result = ExtractFolder(files, ui, Request("Empty"), progress);
  EXPECT_EQ(result.counters.Named(), 0);
  EXPECT_FALSE(files.Exists("C:\\Backup\\taro"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "0 通のﾒｯｾｰｼﾞを処理しました。");
}

TEST_F(ExtractionTest, MissingFolderFileShowsZeroAndNamesTheFile) {
  ExtractionResult result = ExtractFolder(files, ui, Request("Nowhere"), progress);
  EXPECT_EQ(result.error, DbxError::CannotOpen);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "0 通のﾒｯｾｰｼﾞを処理しました。\r\n途中で中止しました: ファイルを開けません。\r\nC:\\Store\\Nowhere.dbx");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
}

TEST_F(ExtractionTest, HotmailCopyOfTheFolderIsPreferred) {
  DbxDescription plain, hotmail;
  plain.messages = {Message(MessageKind::Mail, "plain")};
  hotmail.messages = {Message(MessageKind::Mail, "hotmail")};
  Put("C:\\Store\\受信トレイ.dbx", WriteDbx(plain).bytes);
  Put("C:\\Store\\MyMail - 受信トレイ.dbx", WriteDbx(hotmail).bytes);
  ExtractFolderRequest request = Request("受信トレイ");
  request.hotmailAccountName = "MyMail";
  ExtractFolder(files, ui, request, progress);
  EXPECT_EQ(Read(Out("受信トレイ", "00000.eml")), "hotmail\r\n");
  request.hotmailAccountName = "Other";
  ExtractFolder(files, ui, request, progress);
  EXPECT_EQ(Read(Out("受信トレイ", "00000.eml")), "plain\r\n");
}

TEST_F(ExtractionTest, OutputFolderAndFileNames) {
  EXPECT_EQ(ExtractionOutputFolder("D:\\bk", "a_b", "受信トレイ"), "D:\\bk\\a_b\\Eml_Nws\\受信トレイ\\");
  // Folder names come from file names and the registry cache: none may leave "Eml_Nws".
  const std::vector<std::pair<std::string, std::string>> names = {
      {"fj.comp.lang.c", "fj.comp.lang.c"}, {"..", "__"}, {".", "_"}, {"", "_"}, {". .", "___"},
      {"..\\..\\Windows", ".._.._Windows"}, {"a/b", "a_b"}, {"C:x", "C_x"}, {"a*b?c\"d<e>f|g", "a_b_c_d_e_f_g"},
      {std::string("tab\there"), "tab_here"}, {"...x", "...x"}, {"ソ表", "ソ表"}};
  for (const auto& [name, safe] : names) EXPECT_EQ(ExtractionFolderName(name), safe) << name;
  EXPECT_EQ(MessageFileName(0, MessageKind::Mail), "00000.eml");
  EXPECT_EQ(MessageFileName(7, MessageKind::News), "00007.nws");
  EXPECT_EQ(MessageFileName(123, MessageKind::Mail), "00123.eml");
  EXPECT_EQ(MessageFileName(32767, MessageKind::News), "32767.nws");
}

TEST_F(ExtractionTest, AFolderNamedByDotsStaysBelowEmlNws) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "m")};
  Put("C:\\Store\\...dbx", WriteDbx(description).bytes);  // the tree shows it as ".."
  ExtractionResult result = ExtractFolder(files, ui, Request(".."), progress);
  EXPECT_EQ(result.counters.Named(), 1);
  EXPECT_EQ(Read("C:\\Backup\\taro\\Eml_Nws\\__\\00000.eml"), "m\r\n");
  EXPECT_FALSE(HostExists("C:\\Backup\\taro\\00000.eml"));
}

TEST_F(ExtractionTest, SecondRunReplacesFromZeroAndKeepsHigherNumbers) {
  DbxDescription three, one;
  three.messages = {Message(MessageKind::Mail, "a"), Message(MessageKind::Mail, "b"), Message(MessageKind::Mail, "c")};
  one.messages = {Message(MessageKind::Mail, "new")};
  Put("C:\\Store\\F.dbx", WriteDbx(three).bytes);
  ExtractFolder(files, ui, Request("F"), progress);
  Put("C:\\Store\\F.dbx", WriteDbx(one).bytes);
  ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_EQ(Read(Out("F", "00000.eml")), "new\r\n");
  EXPECT_EQ(Read(Out("F", "00002.eml")), "c\r\n");
}

TEST_F(ExtractionTest, ADamagedMessageEndsTheRunAndCountsAsNamed) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, std::string(1000, 'a')), Message(MessageKind::News, "n"),
                          Message(MessageKind::Mail, "never")};
  DbxImage image = WriteDbx(description);
  Put32(image.bytes, static_cast<size_t>(image.blockOffsets[0][1]) + 0x08, 0);  // second block empty
  Put("C:\\Store\\F.dbx", image.bytes);
  ExtractionResult result = ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_EQ(result.error, DbxError::EmptyBlock);
  EXPECT_EQ(Read(Out("F", "00000.eml")), std::string(512, 'a'));  // closed with what it holds
  EXPECT_FALSE(files.Exists(Out("F", "00000.nws")));
  EXPECT_EQ(ui.messages.at(0).text, "1 通のﾒｯｾｰｼﾞを処理しました。\r\n途中で中止しました: メッセージのデータブロックが空です。\r\n"
                                    "C:\\Store\\F.dbx");
}

TEST_F(ExtractionTest, ADamagedFolderIsAlsoRecoveredBesideWhatTheIndexGave) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "Subject: a\r\n\r\na\r\n"), Message(MessageKind::Mail, "Subject: b\r\n\r\nb\r\n")};
  DbxImage image = WriteDbx(description);
  Put32(image.bytes, static_cast<size_t>(image.recordOffsets[1]) + 0x19, 0x7FFFFF);  // the second record leads nowhere
  Put("C:\\Store\\F.dbx", image.bytes);
  ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_EQ(Read(Out("F", "00000.eml")), "Subject: a\r\n\r\na\r\n");
  EXPECT_EQ(Read(Out("F", "recovered\\00001.eml")), "Subject: b\r\n\r\nb\r\n");
  EXPECT_NE(ui.messages.at(0).text.find("完全 2 通"), std::string::npos) << ui.messages.at(0).text;
}

TEST_F(ExtractionTest, ADamagedIndexKeepsTheRecordsFoundBeforeIt) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "a"), Message(MessageKind::Mail, "b")};
  description.root = Leaf({0, 1});
  DbxImage image = WriteDbx(description);
  const size_t root = static_cast<size_t>(image.nodeOffsets[0]);
  Put32(image.bytes, root + 0x18 + 4, image.nodeOffsets[0]);  // entry 0's child is the root
  Put32(image.bytes, root + 0x18 + 8, 1);
  Put("C:\\Store\\F.dbx", image.bytes);
  ExtractionResult result = ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_EQ(result.error, DbxError::None);
  EXPECT_EQ(Read(Out("F", "00000.eml")), "a\r\n");
  EXPECT_FALSE(files.Exists(Out("F", "00001.eml")));
}

TEST_F(ExtractionTest, MessageWithoutBlocksIsAnEmptyFile) {
  DbxDescription description;
  description.messages = {Message(MessageKind::News, "")};
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);
  ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_TRUE(HostExists(Out("F", "00000.nws")));
  EXPECT_EQ(Read(Out("F", "00000.nws")), "");
}

TEST_F(ExtractionTest, ProgressStaysWithinAHeaderCountThatIsTooSmall) {
  DbxDescription description;
  for (int i = 0; i < 4; ++i) description.messages.push_back(Message(MessageKind::Mail, "x"));
  description.headerCount = 2;
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);
  ExtractionResult result = ExtractFolder(files, ui, Request("F"), progress);
  EXPECT_EQ(result.counters.Named(), 4);
  EXPECT_EQ(progress.values, (std::vector<int32_t>{0, 1, 2, 2}));
}

TEST_F(ExtractionTest, ALinkAtAnyLevelOfTheOutputEndsTheRunAndIsNamed) {
  namespace fs = std::filesystem;
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "m")};
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);
  for (const std::string level : {"C:\\Backup\\taro", "C:\\Backup\\taro\\Eml_Nws", "C:\\Backup\\taro\\Eml_Nws\\F"}) {
    fs::remove_all(files.HostPath("C:\\Backup"));
    fs::remove_all(files.HostPath("C:\\Elsewhere"));
    fs::create_directories(files.HostPath("C:\\Elsewhere"));
    fs::create_directories(files.HostPath(level).parent_path());
    fs::create_directory_symlink(files.HostPath("C:\\Elsewhere"), files.HostPath(level));
    const ExtractionResult result = ExtractFolder(files, ui, Request("F"), progress);
    EXPECT_EQ(result.error, DbxError::CannotCreate) << level;
    EXPECT_TRUE(fs::is_empty(files.HostPath("C:\\Elsewhere"))) << level;
    EXPECT_NE(ui.messages.back().text.find(level), std::string::npos) << ui.messages.back().text;
  }
}

TEST_F(ExtractionTest, SixteenBitCountersEndTheRun) {
  DbxDescription description;
  for (int i = 0; i < 3; ++i) description.messages.push_back(Message(MessageKind::Mail, "m" + std::to_string(i)));
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);

  // The kind's counter: 32766 is written, 32767 is named but not written.
  {
    auto file = DbxFile::Open(files, "C:\\Store\\F.dbx");
    ExtractionCounters counters;
    counters.mail = 32766;
    EXPECT_EQ(ExtractMessages(*file, files, "C:\\Out\\", 3, progress, counters), DbxError::CounterOverflow);
    EXPECT_EQ(Read("C:\\Out\\32766.eml"), "m0\r\n");
    EXPECT_FALSE(files.Exists("C:\\Out\\32767.eml"));
    EXPECT_EQ(counters.mail, 32767);
    EXPECT_EQ(counters.written, 1);
  }
  // The written-files counter: the file is complete, then the run ends.
  {
    auto file = DbxFile::Open(files, "C:\\Store\\F.dbx");
    ExtractionCounters counters;
    counters.written = 32767;
    EXPECT_EQ(ExtractMessages(*file, files, "C:\\Out2\\", 3, progress, counters), DbxError::CounterOverflow);
    EXPECT_EQ(Read("C:\\Out2\\00000.eml"), "m0\r\n");
    EXPECT_FALSE(files.Exists("C:\\Out2\\00001.eml"));
    EXPECT_EQ(counters.mail, 1);
  }
}

TEST_F(ExtractionTest, UnwritableOutputEndsTheRun) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "a"), Message(MessageKind::Mail, "b")};
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);
  ASSERT_TRUE(files.CreateDirectory("C:\\Out") == FsResult::Ok || files.IsDirectory("C:\\Out"));
  WriteHostFile(files.HostPath("C:\\Out\\00000.eml"), {'o', 'l', 'd'});
  files.SetAttributes("C:\\Out\\00000.eml", fileattr::kReadOnly);
  auto file = DbxFile::Open(files, "C:\\Store\\F.dbx");
  ExtractionCounters counters;
  EXPECT_EQ(ExtractMessages(*file, files, "C:\\Out\\", 2, progress, counters), DbxError::CannotCreate);
  EXPECT_EQ(counters.mail, 1);
  EXPECT_FALSE(files.Exists("C:\\Out\\00001.eml"));
}

// The simulated file system, except that deleting one name is refused (as when another
// program holds the file open for writing but not for deletion).
class DeleteRefused : public SimFileSystem {
 public:
  DeleteRefused(std::filesystem::path root, std::string refused)
      : SimFileSystem(std::move(root)), refused_(std::move(refused)) {}
  FsResult DeleteFile(const std::string& path) override {
    return path == refused_ ? FsResult::AccessDenied : SimFileSystem::DeleteFile(path);
  }

 private:
  std::string refused_;
};

TEST_F(ExtractionTest, WhatLiesUnderAMessageNameIsReplacedAndALinkNeverWrittenThrough) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "a"), Message(MessageKind::Mail, "b")};
  Put("C:\\Store\\F.dbx", WriteDbx(description).bytes);
  WriteHostFile(files.HostPath("C:\\Elsewhere\\kept.txt"), {'k', 'e', 'p', 't'});
  const std::string name = "C:\\Out\\00000.eml";
  const auto extract = [&](FileSystem& through) {
    auto file = DbxFile::Open(through, "C:\\Store\\F.dbx");
    ExtractionCounters counters;
    return ExtractMessages(*file, through, "C:\\Out\\", 2, progress, counters);
  };
  const auto old = [&] {
    std::filesystem::remove_all(files.HostPath("C:\\Out"));
    WriteHostFile(files.HostPath(name), {'o', 'l', 'd', ' ', 'l', 'o', 'n', 'g', 'e', 'r'});
  };
  const auto link = [&](const std::filesystem::path& target) {
    std::filesystem::remove_all(files.HostPath("C:\\Out"));
    std::filesystem::create_directories(files.HostPath("C:\\Out"));
    std::filesystem::create_symlink(target, files.HostPath(name));
  };

  // A hidden or system file of an earlier run, which the system would not overwrite, and a
  // link to a file or to nothing: each is deleted and the message file made anew.
  for (uint32_t attribute : {fileattr::kHidden, fileattr::kSystem, fileattr::kHidden | fileattr::kSystem}) {
    old();
    files.SetAttributes(name, attribute);
    EXPECT_EQ(extract(files), DbxError::None) << attribute;
    EXPECT_EQ(Read(name), "a\r\n") << attribute;
    EXPECT_EQ(files.Attributes(name), fileattr::kArchive) << attribute;
    EXPECT_EQ(Read("C:\\Out\\00001.eml"), "b\r\n");
  }
  for (const auto& target : {files.HostPath("C:\\Elsewhere\\kept.txt"), files.HostPath("C:\\Elsewhere") / "new.txt"}) {
    link(target);
    EXPECT_EQ(extract(files), DbxError::None) << target;
    EXPECT_FALSE(std::filesystem::is_symlink(files.HostPath(name)));
    EXPECT_EQ(Read(name), "a\r\n");
  }
  EXPECT_EQ(Read("C:\\Elsewhere\\kept.txt"), "kept");
  EXPECT_FALSE(files.Exists("C:\\Elsewhere\\new.txt"));

  // A plain file that cannot be deleted is written from its start; a link that cannot be
  // removed, or a folder under the name, ends the run with nothing written through.
  DeleteRefused refusing(temp.path(), name);
  old();
  EXPECT_EQ(extract(refusing), DbxError::None);
  EXPECT_EQ(Read(name), "a\r\n");
  link(files.HostPath("C:\\Elsewhere\\kept.txt"));
  EXPECT_EQ(extract(refusing), DbxError::CannotCreate);
  EXPECT_EQ(Read("C:\\Elsewhere\\kept.txt"), "kept");
  EXPECT_FALSE(files.Exists("C:\\Out\\00001.eml"));
  std::filesystem::remove_all(files.HostPath("C:\\Out"));
  std::filesystem::create_directories(files.HostPath(name));
  EXPECT_EQ(extract(files), DbxError::CannotCreate);
  EXPECT_TRUE(files.IsDirectory(name));
}

}  // namespace
}  // namespace vorn::test
