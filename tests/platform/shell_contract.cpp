#include <map>

#include "tests/platform/service_contracts.h"

namespace vorn {
namespace {

using Files = std::map<std::string, std::string>;

TEST_P(ShellContract, CopiesAFileAFolderOrAPatternIntoAFolder) {
  for (const char* folder : {"From", "From\\Sub", "Mail", "Wab", "Set"})
    ASSERT_EQ(files->CreateDirectory(Path(folder)), FsResult::Ok) << folder;
  WriteText("From\\受信トレイ.dbx", "inbox");
  WriteText("From\\Sent.dbx", "sent");
  WriteText("From\\notes.txt", "notes");
  WriteText("From\\Sub\\a.dbx", "in a subfolder");

  EXPECT_EQ(service->FileTransfer(0, Path("Mail"), Path("From\\*.dbx")), 0);
  EXPECT_EQ(Tree(*files, Path("Mail")), (Files{{"Sent.dbx", "sent"}, {"受信トレイ.dbx", "inbox"}}));
  EXPECT_EQ(service->FileTransfer(0, Path("Wab"), Path("From\\notes.txt")), 0);
  EXPECT_EQ(Tree(*files, Path("Wab")), (Files{{"notes.txt", "notes"}}));
  // A folder goes in under its own name, with everything in it.
  EXPECT_EQ(service->FileTransfer(0, Path("Set"), Path("From")), 0);
  EXPECT_EQ(Tree(*files, Path("Set")), (Files{{"From", "<folder>"},
                                              {"From\\Sent.dbx", "sent"},
                                              {"From\\Sub", "<folder>"},
                                              {"From\\Sub\\a.dbx", "in a subfolder"},
                                              {"From\\notes.txt", "notes"},
                                              {"From\\受信トレイ.dbx", "inbox"}}));
}

TEST_P(ShellContract, ACopyReplacesWhatIsThereAndAMissingSourceFailsWithoutTouchingIt) {
  for (const char* folder : {"From", "To"}) ASSERT_EQ(files->CreateDirectory(Path(folder)), FsResult::Ok);
  WriteText("From\\a.dbx", "new");
  WriteText("To\\a.dbx", "old");
  EXPECT_EQ(service->FileTransfer(0, Path("To"), Path("From\\a.dbx")), 0);
  EXPECT_EQ(Tree(*files, Path("To")), (Files{{"a.dbx", "new"}}));
  EXPECT_NE(service->FileTransfer(0, Path("To"), Path("From\\none.dbx")), 0);
  EXPECT_EQ(Tree(*files, Path("To")), (Files{{"a.dbx", "new"}}));
}

}  // namespace
}  // namespace vorn
