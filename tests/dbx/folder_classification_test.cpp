#include <gtest/gtest.h>

#include "dbx/folder_classification.h"
#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

DbxMessage Message(MessageKind kind, bool direct) {
  DbxMessage message;
  message.kind = kind;
  message.direct = direct;
  message.text = "text";
  return message;
}

class ClassifyTest : public DbxStore {
 protected:
  FolderClassification Classify(const std::string& name, const DbxDescription& description) {
    return ClassifyFolderFile(files, Put("C:\\Store\\" + name, WriteDbx(description).bytes));
  }
};

TEST_F(ClassifyTest, NewsNeedsADirectPointer) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Unclassified, true), Message(MessageKind::News, false),
                          Message(MessageKind::News, true)};
  FolderClassification result = Classify("fj.comp.lang.c.dbx", description);
  EXPECT_EQ(result.newsEntry, "fj.comp.lang.c");
  EXPECT_FALSE(result.mailEntry);
  EXPECT_EQ(result.error, DbxError::None);

  description.messages.pop_back();
  result = Classify("indirect.dbx", description);
  EXPECT_FALSE(result.newsEntry);
  EXPECT_FALSE(result.mailEntry);
}

TEST_F(ClassifyTest, MailIsListedOnceAndEmptyFoldersAreMail) {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, false), Message(MessageKind::Mail, false),
                          Message(MessageKind::Mail, true), Message(MessageKind::News, true)};
  FolderClassification result = Classify("Projects.dbx", description);
  EXPECT_EQ(result.mailEntry, "Projects.dbx");
  EXPECT_FALSE(result.newsEntry);  // the direct mail record decided before the news one

  // An indirect mail record lists the file as mail on the way to a direct news record.
  description.messages = {Message(MessageKind::Mail, false), Message(MessageKind::News, true)};
  result = Classify("Both.dbx", description);
  EXPECT_EQ(result.mailEntry, "Both.dbx");
  EXPECT_EQ(result.newsEntry, "Both");

  DbxDescription empty;
  empty.messages = {Message(MessageKind::News, true)};
  empty.headerCount = 0;
  EXPECT_EQ(Classify("Empty.dbx", empty).mailEntry, "Empty.dbx");
  EXPECT_FALSE(Classify("Empty.dbx", empty).newsEntry);
}

TEST_F(ClassifyTest, UnreadableFilesReportAnError) {
  EXPECT_EQ(ClassifyFolderFile(files, "C:\\Store\\Missing.dbx").error, DbxError::CannotOpen);

  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, false), Message(MessageKind::Mail, true)};
  description.root = Leaf({0, 1});
  DbxImage image = WriteDbx(description);
  Put32(image.bytes, static_cast<size_t>(image.nodeOffsets[0]) + 0x18 + 12, 0x7FFFFFF0);  // record 1 out of range
  FolderClassification result = ClassifyFolderFile(files, Put("C:\\Store\\Bad.dbx", image.bytes));
  EXPECT_EQ(result.error, DbxError::BadPosition);
  EXPECT_EQ(result.mailEntry, "Bad.dbx");  // listed by the record before the error
}

TEST_F(ClassifyTest, MoreThan32767RecordsIsAnError) {
  for (size_t count : {32767u, 32768u}) {
    DbxDescription description;
    description.messages.assign(count, DbxMessage{});
    for (auto& message : description.messages) message.kind = MessageKind::Unclassified;
    description.entriesPerNode = 255;
    FolderClassification result = Classify("Big.dbx", description);
    EXPECT_EQ(result.error, count > 32767 ? DbxError::CounterOverflow : DbxError::None) << count;
  }
}

TEST(FolderScanError, MessageNamesTheFileTheErrorAndTheLimit) {
  const vorn::Message message = FolderScanErrorMessage("C:\\Store\\fj.comp.dbx", DbxError::PastEndOfFile);
  EXPECT_EQ(message.text, "fj.comp.dbx: " + DbxErrorDescription(DbxError::PastEndOfFile) +
                              "\r\n１グループに30,000通以上のメッセージは処理できません。");
  EXPECT_EQ(message.title, "エラー番号:" + std::to_string(DbxErrorNumber(DbxError::PastEndOfFile)));
  EXPECT_EQ(message.icon, MsgIcon::Critical);
  EXPECT_EQ(message.helpContext, 18);
}

}  // namespace
}  // namespace vorn::test
