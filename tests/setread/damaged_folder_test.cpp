// A folder file the index reader cannot read whole is marked wherever folder files are listed:
// the scan, the mail-store tab, the information file of a backup and the listing of a set.
#include <gtest/gtest.h>

#include <functional>

#include "backup/damaged_folder_lines.h"
#include "dbx/folder_info.h"
#include "dbx/folder_scan.h"
#include "platform/codepage.h"
#include "restore/set_reading.h"
#include "setread/set_contents.h"
#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

DbxMessage Mail(const std::string& subject, bool freed = false) {
  DbxMessage message;
  message.text = "Subject: " + subject + "\r\n\r\n" + std::string(1500, 'x') + "\r\n";
  message.freed = freed;
  return message;
}

class DamagedFolderTest : public DbxStore {};

TEST_F(DamagedFolderTest, IsMarkedByTheScanTheTabTheInformationFileAndTheSetListing) {
  DbxDescription description;
  description.messages = {Mail("A"), Mail("B"), Mail("C", true), Mail("D")};
  struct Case {
    const char* name;
    std::function<void(DbxImage&)> damage;
    const char* count;  // the tab's count label; empty: the file is intact
  };
  const Case cases[] = {
      {"intact", [](DbxImage&) {}, ""},
      {"index pointer gone", [](DbxImage& i) { Put32(i.bytes, 0xE4, 0); }, "回復できるﾒｯｾｰｼﾞ 3、削除済み 1"},
      {"count below zero", [](DbxImage& i) { Put32(i.bytes, 0xC4, -1); }, "回復できるﾒｯｾｰｼﾞ 3、削除済み 1"},
      // Cut in the second block of B: A whole, B cut, C and D gone with the index behind them.
      {"truncated", [](DbxImage& i) { i.bytes.resize(static_cast<size_t>(i.blockOffsets[1][1]) + 0x40); },
       "回復できるﾒｯｾｰｼﾞ 2"},
  };
  const std::string info = "\"Date       :2004/05/12 9:05:03\"\r\n\"OS         :WindowsXP\"\r\n\"OE         :6.0\"\r\n"
                           "\"StoreRoot  :C:\\Store\"\r\n\"UserName   :太郎\"\r\n\"UserID     :{ID}\"\r\n"
                           "\"WabPath    :C:\\taro.wab\"\r\n\"BackupPath :C:\\Sets\"\r\n";
  const std::vector<std::string> fields = {"2004/05/12 9:05:03", "WindowsXP", "6.0",     "C:\\Store",
                                           "太郎",               "{ID}",      "C:\\taro.wab", "C:\\Sets"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool damaged = *c.count != '\0';
    DbxImage image = WriteDbx(description);
    c.damage(image);
    Put("C:\\Store\\Projects.dbx", image.bytes);

    std::vector<std::string> reported;
    const FolderScanLists lists = ClassifyCandidates(
        files, "C:\\Store", {"Projects.dbx"}, [&](const std::string& path, DbxError) { reported.push_back("error " + path); },
        [&](const std::string& path, const FolderDamage& d) { reported.push_back(path + " " + RecoverableText(d)); });
    EXPECT_EQ(lists.mail, std::vector<std::string>{"Projects.dbx"});
    EXPECT_EQ(reported, damaged ? std::vector<std::string>{"C:\\Store\\Projects.dbx " + std::string(c.count)}
                                : std::vector<std::string>{});

    const FolderInfoLabels labels = ShowFolderInfo(files, "C:\\Store", "", "Projects");
    EXPECT_EQ(labels.count, damaged ? "破損: " + std::string(c.count) : "3 ﾒｯｾｰｼﾞ");
    EXPECT_TRUE(labels.convertEnabled);

    const std::string lines = DamagedFolderLines(files, "C:\\Store");
    EXPECT_EQ(lines, damaged ? "\"Damaged    :Projects.dbx (" + std::string(c.count) + ")\"\r\n" : "");
    const std::string ansi = Utf8ToCp932(info + lines);
    Put("C:\\Set\\Reg\\VornInfo.dat", std::vector<unsigned char>(ansi.begin(), ansi.end()));
    EXPECT_EQ(ReadBackupInfoFields(files, BackupInfoPath("C:\\Set")), fields);

    Put("C:\\Set\\Mail\\Folders.dbx", image.bytes);
    Put("C:\\Set\\Mail\\Projects.dbx", image.bytes);
    auto mail = SetMailFolders::Open(files, "C:\\Set");
    ASSERT_TRUE(mail);
    int listed = 0;
    SummarizeSetMail(*mail, [&](const SetFolderSummary& folder) {
      ++listed;
      EXPECT_EQ(folder.damage.damaged, damaged);
      EXPECT_EQ(damaged ? RecoverableText(folder.damage) : "", c.count);
    });
    EXPECT_EQ(listed, 1);
  }
}

}  // namespace
}  // namespace vorn::test
