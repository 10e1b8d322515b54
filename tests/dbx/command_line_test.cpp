// Runs vorn-cli and the independent reader undbx on files the writer makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

namespace fs = std::filesystem;

// Mixed messages: mail and news, direct and indirect pointers, odd block sizes, line ends of every kind.
DbxDescription MixedFolder() {
  DbxDescription description;
  const std::vector<std::string> endings = {"\r\n", "\n", "", "\r"};
  for (int i = 0; i < 120; ++i) {
    DbxMessage message;
    message.kind = i % 3 == 1 ? MessageKind::News : MessageKind::Mail;
    message.direct = i % 4 != 2;
    message.dataOffset = static_cast<uint8_t>(4 * (i % 5));
    message.blockSize = i % 7 == 0 ? 100 : 512;
    message.text = "From: user" + std::to_string(i) + "@example.jp\r\nSubject: message " + std::to_string(i) +
                   "\r\n\r\n" + std::string(static_cast<size_t>(i * 37 % 3000), static_cast<char>('a' + i % 26)) +
                   endings[static_cast<size_t>(i) % endings.size()];
    description.messages.push_back(message);
  }
  description.entriesPerNode = 7;
  return description;
}

std::multiset<std::string> FilesIn(const fs::path& folder) {
  std::multiset<std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) contents.insert(ReadHostFile(entry.path()));
  return contents;
}

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

TEST(CommandLine, ExtractWritesTheRawMessagesWithTheLineEndRule) {
  TempFolder temp;
  const DbxDescription description = MixedFolder();
  WriteHostFile(temp.path() / "in" / "Folder.dbx", WriteDbx(description).bytes);
  ASSERT_EQ(Shell(std::string(VORN_CLI) + " dbx extract '" + (temp.path() / "in" / "Folder.dbx").string() + "' '" +
                (temp.path() / "out").string() + "'"),
            0);
  int mail = 0, news = 0;
  for (const auto& message : description.messages) {
    int& number = message.kind == MessageKind::News ? news : mail;
    std::string name = std::to_string(number++);
    name = std::string(5 - name.size(), '0') + name + (message.kind == MessageKind::News ? ".nws" : ".eml");
    EXPECT_EQ(ReadHostFile(temp.path() / "out" / name), ExtractedText(message.text)) << name;
  }
  EXPECT_NE(Shell(std::string(VORN_CLI) + " dbx extract '" + (temp.path() / "missing.dbx").string() + "' '" +
                (temp.path() / "out").string() + "'"),
            0);
  EXPECT_EQ(Shell(std::string(VORN_CLI) + " dbx info '" + (temp.path() / "in" / "Folder.dbx").string() + "'"), 0);
}

// The exit status tells an intact file (0), one that needed the recovery (1) and nothing found (2).
TEST(CommandLine, RecoverTellsByItsStatusWhetherTheFileWasDamaged) {
  TempFolder temp;
  DbxDescription description;
  description.messages.resize(2);
  description.messages[0].text = "Subject: a\r\n\r\na\r\n";
  description.messages[1].text = "Subject: b\r\n\r\nb\r\n";
  DbxImage image = WriteDbx(description);
  auto recover = [&](const std::vector<unsigned char>& bytes, const std::string& out) {
    WriteHostFile(temp.path() / "in.dbx", bytes);
    return WEXITSTATUS(std::system((std::string(VORN_CLI) + " dbx recover '" + (temp.path() / "in.dbx").string() + "' '" +
                                    (temp.path() / out).string() + "' >/dev/null 2>&1").c_str()));
  };
  EXPECT_EQ(recover(image.bytes, "intact"), 0);
  Put32(image.bytes, 0xE4, 0);
  EXPECT_EQ(recover(image.bytes, "damaged"), 1);
  EXPECT_EQ(ReadHostFile(temp.path() / "damaged" / "00001.eml"), "Subject: b\r\n\r\nb\r\n");
  EXPECT_EQ(recover(std::vector<unsigned char>(100, 'x'), "nothing"), 2);  // not even a header
}

TEST(CommandLine, UndbxReadsTheSameMessagesFromWrittenFiles) {
  ASSERT_EQ(Shell("command -v undbx"), 0) << "undbx is not installed (scripts/install-deps.sh installs it)";
  TempFolder temp;
  // The mixed folder suits undbx, which keeps block lengths in 16 bits and knows the pointer bytes
  // 0x84 and 0x04 only.
  const DbxDescription description = MixedFolder();
  WriteHostFile(temp.path() / "Folder.dbx", WriteDbx(description).bytes);
  ASSERT_EQ(Shell("cd '" + temp.path().string() + "' && undbx Folder.dbx out"), 0);

  std::multiset<std::string> expected;
  for (const auto& message : description.messages) expected.insert(message.text);
  EXPECT_EQ(FilesIn(temp.path() / "out"), expected);
}

}  // namespace
}  // namespace vorn::test
