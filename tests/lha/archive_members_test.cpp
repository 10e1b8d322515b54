// Members read one by one and at any position without unpacking the archive.
#include <gtest/gtest.h>

#include <random>

#include "lha/archive_members.h"
#include "lha/codec/member_name.h"
#include "lha/unlha_result.h"
#include "platform/codepage.h"
#include "platform/sim/sim_file_system.h"
#include "tests/lha/handmade_headers.h"
#include "tests/lha/lha_test_support.h"

namespace vorn::lha::test {
namespace {

using unlha::ArchiveMembers;
using unlha::MemberInfo;

struct Archive {
  explicit Archive(const std::string& bytes) : files(temp.path()) {
    WriteHostFile(files.HostPath("C:\\Mail.lzh"), bytes);
  }
  std::unique_ptr<ArchiveMembers> Open() { return ArchiveMembers::Open(files, "C:\\Mail.lzh"); }
  TempFolder temp;
  SimFileSystem files;
};

std::string ReadAt(unlha::MemberData& data, uint64_t position, size_t size) {
  std::string out(size, '\0');
  if (!data.Seek(position)) return "<seek failed>";
  size_t done = 0;
  while (done < size) {
    auto got = data.Read(out.data() + done, size - done);
    if (!got) return "<read failed>";
    if (*got == 0) break;
    done += *got;
  }
  out.resize(done);
  return out;
}

const std::vector<std::pair<std::vector<std::string>, std::string>> kMembers = {
    {{"Folders.dbx"}, ""},
    {{Utf8ToCp932("受信トレイ.dbx")}, MailLikeText(5 << 20, 7)},  // resume points every 256 KB
    {{"noise.bin"}, RandomBytes(70000, 3)},            // stored
    {{"sub", "small.dbx"}, MailLikeText(9000, 8)},
};

TEST(ArchiveMembers, ListsTheMembersInOrderAndReadsEachOneWholeAndAtAnyPosition) {
  Archive archive(PackFiles(kMembers));
  auto members = archive.Open();
  ASSERT_TRUE(members);
  MemberInfo info;
  std::mt19937 random(11);
  for (const auto& [path, data] : kMembers) {
    ASSERT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    EXPECT_EQ(info.name, Cp932ToUtf8(path.size() == 2 ? path[0] + "\\" + path[1] : path[0]));
    EXPECT_EQ(info.size, data.size());
    EXPECT_FALSE(info.directory);
    auto member = members->OpenData();
    ASSERT_TRUE(member);
    EXPECT_EQ(member->Size(), data.size());
    // Forward, backward, across pages and resume points, and past the end.
    std::vector<std::pair<uint64_t, size_t>> reads = {{0, data.size()}, {data.size() / 2, 100}, {1, 8191},
                                                      {8191, 2}, {data.size(), 10}, {data.size() + 5, 1}};
    for (int i = 0; i < 200 && !data.empty(); ++i)
      reads.push_back({random() % data.size(), static_cast<size_t>(random() % 70000)});
    for (const auto& [position, size] : reads) {
      const std::string expected = position >= data.size() ? "" : data.substr(position, size);
      ASSERT_EQ(ReadAt(*member, position, size), expected) << info.name << " at " << position << " size " << size;
    }
    EXPECT_EQ(member->Check(), unlha::kOk) << info.name;
    EXPECT_EQ(ReadAt(*member, 0, 64), data.substr(0, 64)) << "reads go on after the check";
    // A member checked without a read before.
    auto unread = members->OpenData();
    EXPECT_EQ(unread->Check(), unlha::kOk) << info.name;
  }
  EXPECT_EQ(members->Next(info), ArchiveMembers::Step::End);
}

TEST(ArchiveMembers, ADamagedMemberFailsItsReadsOrItsCheckAndTheNextMemberStillReads) {
  const std::string text = MailLikeText(600000, 9);
  const std::string after = MailLikeText(20000, 10);
  std::string bytes = PackFiles({{{"a.dbx"}, text}, {{"b.dbx"}, after}});
  const size_t second = bytes.find("b.dbx");
  ASSERT_NE(second, std::string::npos);
  for (size_t at : {size_t{200}, second / 2, second - 300}) {
    SCOPED_TRACE(at);
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    Archive archive(damaged);
    auto members = archive.Open();
    MemberInfo info;
    ASSERT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    auto member = members->OpenData();
    const std::string read = ReadAt(*member, 0, text.size());
    EXPECT_NE(read, text);
    EXPECT_NE(member->Check(), unlha::kOk);
    ASSERT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    EXPECT_EQ(info.name, "b.dbx");
    auto next = members->OpenData();
    EXPECT_EQ(ReadAt(*next, 0, after.size()), after);
    EXPECT_EQ(next->Check(), unlha::kOk);
  }
}

TEST(ArchiveMembers, EveryMemberReadsAsTheReaderUnpacksIt) {
  // Other tools' header forms, MacLHA's wrapping and methods this reader does not know.
  std::vector<std::pair<std::string, std::string>> archives;
  for (const auto& seed : std::filesystem::directory_iterator(std::filesystem::path(VORN_SOURCE_DIR) / "fuzz/seeds/lha"))
    archives.push_back({seed.path().filename().string(), ReadHostFile(seed.path())});
  const uint32_t time = 1000000000;
  archives.push_back({"MacLHA", Sized(2, {Ext(0x01, "Letter")}, MacBinary("Letter", "the data fork", "RSRC", time), time, 'm') +
                                    Sized(2, {Ext(0x01, "Icon")}, MacBinary("Icon", "", "resources", time), time, 'm') +
                                    Sized(2, {Ext(0x01, "Raw")}, MacBinary("Other", "fork", "", time), time, 'm') + '\0'});
  archives.push_back({"old methods", Level0("-lh1-", "OLD.TXT", "xxxx", 9, 0) + Level0("-lh0-", "B", "b", 1, Crc("b")) + '\0'});
  for (const auto& [what, bytes] : archives) {
    SCOPED_TRACE(what);
    const Unpacked unpacked = UnpackAll(bytes);
    Archive archive(bytes);
    auto members = archive.Open();
    MemberInfo info;
    for (const auto& expected : unpacked.members) {
      ASSERT_EQ(members->Next(info), ArchiveMembers::Step::Member);
      EXPECT_EQ(info.name, DisplayName(expected.header));
      EXPECT_EQ(info.directory, expected.header.IsDirectory());
      if (info.directory) continue;
      auto data = members->OpenData();
      const int32_t check = data->Check();
      switch (expected.result) {
        case ExtractResult::Ok:
          EXPECT_EQ(check, unlha::kOk) << info.name;
          EXPECT_EQ(ReadAt(*data, 0, expected.data.size() + 1), expected.data) << info.name;
          EXPECT_EQ(data->Size(), expected.data.size());
          break;
        case ExtractResult::UnsupportedMethod: EXPECT_EQ(check, unlha::kUnsupportedMethod) << info.name; break;
        case ExtractResult::CrcMismatch: EXPECT_EQ(check, unlha::kCrcMismatch) << info.name; break;
        default: EXPECT_EQ(check, unlha::kArchiveDamaged) << info.name; break;
      }
    }
    const auto end = unpacked.end == HeaderRead::End              ? ArchiveMembers::Step::End
                     : unpacked.end == HeaderRead::EndWithoutMark ? ArchiveMembers::Step::EndWithoutMark
                                                                  : ArchiveMembers::Step::Damaged;
    EXPECT_EQ(members->Next(info), end);
  }
}

TEST(ArchiveMembers, AnArchiveThatCannotBeReadSaysSo) {
  std::string bytes = PackFiles({{{"a.dbx"}, MailLikeText(3000, 1)}, {{"b.dbx"}, MailLikeText(3000, 2)}});
  MemberInfo info;
  {
    // The second header's level-2 CRC no longer matches.
    std::string damaged = bytes;
    damaged[bytes.find("b.dbx")] = 'c';
    Archive archive(damaged);
    auto members = archive.Open();
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Damaged);
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Damaged);
  }
  {
    // Cut inside the second member's data.
    Archive archive(bytes.substr(0, bytes.size() - 100));
    auto members = archive.Open();
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Member);
    EXPECT_EQ(members->OpenData()->Check(), unlha::kArchiveDamaged);
    EXPECT_EQ(members->Next(info), ArchiveMembers::Step::Damaged);
  }
  Archive none("");
  EXPECT_FALSE(ArchiveMembers::Open(none.files, "C:\\missing.lzh"));
  EXPECT_EQ(none.Open()->Next(info), ArchiveMembers::Step::EndWithoutMark);
}

}  // namespace
}  // namespace vorn::lha::test
