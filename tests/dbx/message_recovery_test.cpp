#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "dbx/message_extraction.h"
#include "dbx/message_recovery.h"
#include "tests/dbx/dbx_test_support.h"
#include "tests/dbx/memory_files.h"

namespace vorn::test {
namespace {

DbxMessage Message(MessageKind kind, const std::string& head, size_t lines, bool freed = false) {
  DbxMessage message;
  message.kind = kind;
  message.text = head + "\r\n";
  for (size_t i = 0; i < lines; ++i) message.text += "line " + std::to_string(i) + " of the body\r\n";
  message.freed = freed;
  return message;
}

// Mail A (3 blocks), news B, a freed mail C, mail D (2 blocks), mail E, news F (2 blocks).
DbxDescription Folder() {
  DbxDescription description;
  description.messages = {Message(MessageKind::Mail, "Subject: A\r\n", 60),
                          Message(MessageKind::News, "Newsgroups: fj.test\r\nSubject: B\r\n", 3),
                          Message(MessageKind::Mail, "Subject: C\r\n", 30, true),
                          Message(MessageKind::Mail, "Subject: D\r\n", 30),
                          Message(MessageKind::Mail, "Subject: E\r\n", 2),
                          Message(MessageKind::News, "Path: x\r\nNewsgroups: fj.test\r\nSubject: F\r\n", 30)};
  return description;
}

std::map<std::string, std::string> FilesBelow(const std::filesystem::path& folder) {
  std::map<std::string, std::string> found;
  if (!std::filesystem::exists(folder)) return found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      found[std::filesystem::relative(entry.path(), folder).generic_string()] = ReadHostFile(entry.path());
  return found;
}

class RecoveryTest : public DbxStore {};

// Every kind of damage a folder file meets, each on the same folder: what the recovery writes,
// byte for byte, and what it reports.
TEST_F(RecoveryTest, FindsWhatEachDamageLeaves) {
  const DbxDescription description = Folder();
  const auto& m = description.messages;
  const std::string a = m[0].text, b = m[1].text, d = m[3].text, e = m[4].text, f = m[5].text;
  const std::map<std::string, std::string> intact = {{"00000.eml", a}, {"00000.nws", b}, {"00001.eml", d},
                                                     {"00002.eml", e}, {"00001.nws", f}, {"deleted/00000.eml", FreedText(m[2])}};
  auto with = [&](std::map<std::string, std::string> changes, std::vector<std::string> gone) {
    auto files = intact;
    for (const auto& name : gone) files.erase(name);
    for (auto& change : changes) files[change.first] = change.second;
    return files;
  };

  using Damage = std::function<void(DbxImage&)>;
  struct Case {
    const char* name;
    Damage damage;
    std::map<std::string, std::string> files;
    int32_t whole, cut, deleted;
    bool agrees;
  };
  auto block = [](const DbxImage& image, size_t message, size_t b) { return static_cast<size_t>(image.blockOffsets[message][b]); };
  const Case cases[] = {
      {"intact", [](DbxImage&) {}, intact, 5, 0, 1, true},
      {"header gone", [](DbxImage& i) { std::fill(i.bytes.begin(), i.bytes.begin() + 0x24BC, 0); }, intact, 5, 0, 1, false},
      {"index pointer gone", [](DbxImage& i) { Put32(i.bytes, 0xE4, 0); }, intact, 5, 0, 1, false},
      {"tree overwritten", [](DbxImage& i) { std::fill_n(i.bytes.begin() + i.nodeOffsets[0], 0x27C, 0xA5); }, intact, 5, 0, 1, false},
      {"truncated at a block", [&](DbxImage& i) { i.bytes.resize(block(i, 3, 1)); },
       with({{"00001-cut.eml", d.substr(0, 512)}}, {"00001.eml", "00002.eml", "00001.nws"}), 2, 1, 1, false},
      {"truncated in a block", [&](DbxImage& i) { i.bytes.resize(block(i, 3, 1) + 0x10 + 100); },
       with({{"00001-cut.eml", d.substr(0, 612)}}, {"00001.eml", "00002.eml", "00001.nws"}), 2, 1, 1, false},
      {"a hole", [&](DbxImage& i) { std::fill_n(i.bytes.begin() + block(i, 0, 1), 0x210, 0); },
       with({{"00000-cut.eml", a.substr(0, 512)}}, {"00000.eml"}), 4, 1, 1, false},
      {"a loop in a chain", [&](DbxImage& i) { Put32(i.bytes, block(i, 3, 1) + 0x0C, block(i, 3, 0)); },
       with({{"00001-cut.eml", d}}, {"00001.eml"}), 4, 1, 1, false},
      {"a chain out of the file", [&](DbxImage& i) { Put32(i.bytes, block(i, 4, 0) + 0x0C, 0x7FFFFF00); },
       with({{"00002-cut.eml", e}}, {"00002.eml"}), 4, 1, 1, false},
      {"a freed block reused", [&](DbxImage& i) {
         // The freed chain's second block now belongs to a message in use: the freed one ends before it.
         const size_t reused = block(i, 2, 1);
         Put32(i.bytes, reused + 0x04, 0x200);
         Put32(i.bytes, reused + 0x08, 0x20);
         Put32(i.bytes, reused + 0x0C, 0);
         std::copy_n("Subject: G\r\n\r\nreused block 1\r\n\r\n", 0x20, i.bytes.begin() + reused + 0x10);
       },
       with({{"deleted/00000-cut.eml", FreedText(m[2]).substr(0, 508)}, {"00001.eml", "Subject: G\r\n\r\nreused block 1\r\n\r\n"},
             {"00002.eml", d}, {"00003.eml", e}},
            {"deleted/00000.eml"}),
       6, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DbxImage image = WriteDbx(description);
    c.damage(image);
    const std::string folder = std::string("C:\\out\\") + c.name + "\\";
    Put("C:\\in.dbx", image.bytes);
    const RecoveryReport report = RecoverMessages(files, "C:\\in.dbx", folder);
    EXPECT_EQ(report.error, DbxError::None);
    EXPECT_EQ(FilesBelow(files.HostPath(folder)), c.files);
    EXPECT_EQ(report.whole, c.whole);
    EXPECT_EQ(report.cut, c.cut);
    EXPECT_EQ(report.deleted, c.deleted);
    std::vector<std::string> cutFiles;
    for (const auto& [name, text] : c.files)
      if (name.find("-cut") != std::string::npos) cutFiles.push_back(std::filesystem::path(name).make_preferred().string());
    std::vector<std::string> reported = report.cutFiles;
    for (auto& name : reported) std::replace(name.begin(), name.end(), '\\', '/');
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported, cutFiles);
    auto file = OpenMemory(image.bytes);
    EXPECT_EQ(IndexAgreesWithRecovery(*file, report), c.agrees);
  }
}

// A second run never writes over the first: it numbers on past what is there.
TEST_F(RecoveryTest, PassesByTakenNumbers) {
  Put("C:\\in.dbx", WriteDbx(Folder()).bytes);
  RecoverMessages(files, "C:\\in.dbx", "C:\\out\\");
  const auto first = FilesBelow(files.HostPath("C:\\out\\"));
  const RecoveryReport again = RecoverMessages(files, "C:\\in.dbx", "C:\\out\\");
  const auto both = FilesBelow(files.HostPath("C:\\out\\"));
  EXPECT_EQ(again.whole, 5);
  EXPECT_EQ(both.size(), 2 * first.size());
  for (const auto& [name, text] : first) EXPECT_EQ(both.at(name), text);
  EXPECT_EQ(both.at("00003.eml"), first.at("00000.eml"));
}

}  // namespace
}  // namespace vorn::test
