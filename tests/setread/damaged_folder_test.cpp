// A folder file the index reader cannot read whole is marked wherever folder files are listed:
// the scan, the mail-store tab, the information file of a backup and the listing of a set.
#include <gtest/gtest.h>

#include <functional>

#include "backup/damaged_folder_lines.h"
#include "dbx/folder_info.h"
#include "dbx/folder_scan.h"
#include "platform/codepage.h"
#include "set/set_layout.h"
#include "set/set_reading.h"
#include "setread/set_contents.h"
#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

class DamagedFolderTest : public DbxStore {};

TEST_F(DamagedFolderTest, IsMarkedByTheScanTheTabTheInformationFileAndTheSetListing) {
  DbxDescription description;
  description.messages.resize(4);
  for (auto& m : description.messages) m.text = "Subject: s\r\n\r\n" + std::string(1500, 'x') + "\r\n";
  description.messages[2].freed = true;
  struct Case {
    const char* name;
    std::function<void(DbxImage&)> damage;
    std::string found;  // empty: intact
  };
  const Case cases[] = {
      {"intact", [](DbxImage&) {}, ""},
      {"index pointer gone", [](DbxImage& i) { Put32(i.bytes, 0xE4, 0); }, "回復できるﾒｯｾｰｼﾞ 3、削除済み 1"},
      {"count below zero", [](DbxImage& i) { Put32(i.bytes, 0xC4, -1); }, "回復できるﾒｯｾｰｼﾞ 3、削除済み 1"},
      // Cut in the second message's second block: the first whole, the second cut, the rest gone.
      {"truncated", [](DbxImage& i) { i.bytes.resize(static_cast<size_t>(i.blockOffsets[1][1]) + 0x40); },
       "回復できるﾒｯｾｰｼﾞ 2"},
  };
  // The readers take the fields by position, whatever the labels say.
  const std::vector<std::string> fields = {"2004/05/12 9:05:03", "WindowsXP", "6.0",      "C:\\Store",
                                           "taro",               "{ID}",      "C:\\a.wab", "C:\\b"};
  std::string info;
  for (const auto& field : fields) info += "\"Label      :" + field + "\"\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool damaged = !c.found.empty();
    DbxImage image = WriteDbx(description);
    c.damage(image);
    Put("C:\\Store\\Projects.dbx", image.bytes);

    std::vector<std::string> told;
    const FolderScanLists lists = ClassifyCandidates(
        files, "C:\\Store", {"Projects.dbx"}, [&](const std::string& path, DbxError) { told.push_back(path); },
        [&](const std::string&, const FolderDamage& d) { told.push_back(RecoverableText(d)); });
    EXPECT_EQ(lists.mail, std::vector<std::string>{"Projects.dbx"});
    EXPECT_EQ(told, damaged ? std::vector<std::string>{c.found} : std::vector<std::string>{});
    const FolderInfoLabels labels = ShowFolderInfo(files, "C:\\Store", "", "Projects");
    EXPECT_EQ(labels.count, damaged ? "破損: " + c.found : "3 ﾒｯｾｰｼﾞ");
    EXPECT_TRUE(labels.convertEnabled);

    const std::string lines = DamagedFolderLines(files, "C:\\Store");
    EXPECT_EQ(lines, damaged ? "\"Damaged    :Projects.dbx (" + c.found + ")\"\r\n" : "");
    const std::string ansi = Utf8ToCp932(info + lines);
    Put("C:\\Set\\Reg\\VornInfo.dat", {ansi.begin(), ansi.end()});
    EXPECT_EQ(ReadBackupInfoFields(files, SetLayout("C:\\Set").InfoFile()), fields);

    Put("C:\\Set\\Mail\\Folders.dbx", image.bytes);
    Put("C:\\Set\\Mail\\Projects.dbx", image.bytes);
    auto mail = SetMailFolders::Open(files, "C:\\Set");
    ASSERT_TRUE(mail);
    SummarizeSetMail(*mail, [&](const SetFolderSummary& f) {
      EXPECT_EQ(f.damage.damaged ? RecoverableText(f.damage) : "", c.found);
    });
  }
}

}  // namespace
}  // namespace vorn::test
