#include "tools/address_book_relocation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/tool_machine.h"

namespace vorn::test {
namespace {

class AddressBookScene {
 public:
  AddressBookScene() {
    old = t.m.profile + "\\Application Data\\Microsoft\\Address Book\\taro.wab";
    oldFolder = t.m.profile + "\\Application Data\\Microsoft\\Address Book";
    t.m.CreateFile(old, "address book data");
    t.m.files.CreateDirectory("D:");
  }
  void Pick(const std::string& picked, std::deque<MsgAnswer> answers = {}) {
    t.m.ui.pickedFolders = {picked};
    t.m.ui.answers = std::move(answers);
    RunContext context = t.Context();
    shown = old;
    RelocateAddressBook(context, shown);
  }
  std::string Stored() { return t.m.app->reg.RegReadText(RegRoot::CurrentUser, kWabFileNameKey, ""); }
  // The address book stayed where it was, whole, and is still the one in use.
  void ExpectUnchanged(const std::string& why) {
    EXPECT_EQ(t.Read(old), "address book data") << why;
    EXPECT_EQ(Stored(), old) << why;
    EXPECT_EQ(shown, old) << why;
  }
  const MessageSpec& LastMessage() { return t.m.ui.messages.back(); }

  ToolMachine t;
  std::string old, oldFolder, shown;
};

class AddressBookTest : public ::testing::Test, public AddressBookScene {};

TEST_F(AddressBookTest, MovesToAnotherDriveAndFolderAndPointsTheAddressBookThere) {
  for (const auto& [picked, target] : std::vector<std::pair<std::string, std::string>>{
           {"D:\\", "D:\\taro.wab"}, {"D:\\Data", "D:\\Data\\taro.wab"}, {"C:\\Mail\\Wab", "C:\\Mail\\Wab\\taro.wab"}}) {
    const std::string from = Stored();
    t.files.CreateDirectory(picked.substr(0, picked.rfind('\\')));
    if (picked.back() != '\\') t.files.CreateDirectory(picked);
    Pick(picked);
    EXPECT_EQ(t.m.ui.folderRequests.back(),
              (SimUiServices::FolderRequest{0x1234, "アドレス帳の保存場所変更", from.substr(0, from.rfind('\\')), 1}));
    EXPECT_EQ(shown, target);
    EXPECT_EQ(t.Read(target), "address book data");
    EXPECT_FALSE(t.files.Exists(from)) << target;
    EXPECT_EQ(Stored(), target);
    EXPECT_EQ(t.m.ui.messages, (std::vector<MessageSpec>{{"アドレス帳を移動しました。\r\n" + target, "アドレス帳の移動",
                                                           MsgIcon::Information, MsgButtons::Ok, false, "", 0, 0x1234}}))
        << target;
    t.m.ui.messages.clear();
    EXPECT_TRUE(t.files.List(picked, "*.vorn-*").empty());
    old = target;  // the next move starts from here
  }
}

TEST_F(AddressBookTest, TheSameFolderChangesNothingWhateverTheAnswerOrSpelling) {
  Pick(oldFolder, {MsgAnswer::No});
  ExpectUnchanged("no");
  ASSERT_EQ(t.m.ui.messages.size(), 1u);
  EXPECT_EQ(LastMessage().text, "保存変更場所に同名のファイルが存在します。< taro.wab >\r\n上書きしてよろしいですか？");
  EXPECT_EQ(LastMessage().title, "問い合せ");
  EXPECT_EQ(LastMessage().buttons, MsgButtons::YesNo);
  Pick(oldFolder, {MsgAnswer::Yes});
  ExpectUnchanged("yes");
  // Another spelling of the same folder: the file there is the address book itself.
  std::string lower = oldFolder;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Pick(lower, {MsgAnswer::Yes});
  EXPECT_EQ(t.Read(old), "address book data");
  EXPECT_EQ(Stored(), old);
  // A spelling the text comparison cannot see through: the file itself tells.
  Pick(oldFolder + "\\..\\Address Book", {MsgAnswer::Yes});
  EXPECT_EQ(t.Read(old), "address book data");
  EXPECT_EQ(Stored(), old);
  EXPECT_EQ(t.files.List(oldFolder, "*").size(), 1u);
}

TEST_F(AddressBookTest, AFileOfTheSameNameIsReplacedOnlyOnYes) {
  t.m.CreateFile("D:\\Data\\taro.wab", "someone else's");
  Pick("D:\\Data", {MsgAnswer::No});
  ExpectUnchanged("no");
  EXPECT_EQ(t.Read("D:\\Data\\taro.wab"), "someone else's");
  Pick("D:\\Data", {MsgAnswer::Yes});
  EXPECT_EQ(t.Read("D:\\Data\\taro.wab"), "address book data");
  EXPECT_FALSE(t.files.Exists(old));
  EXPECT_EQ(Stored(), "D:\\Data\\taro.wab");
  EXPECT_EQ(t.files.List("D:\\Data", "*").size(), 1u);
}

TEST(AddressBookTarget, AFolderOrALinkToOneUnderTheNameIsRefusedWithAMessage) {
  for (bool link : {false, true}) {
    AddressBookScene s;
    s.t.m.CreateFile("D:\\Shared\\kept.txt", "kept");
    if (link)
      std::filesystem::create_symlink(s.t.files.HostPath("D:\\Shared"), s.t.files.HostPath("D:\\Shared") / ".." / "taro.wab");
    else
      s.t.m.CreateFile("D:\\taro.wab\\kept.txt", "kept");
    s.Pick("D:\\", {MsgAnswer::Yes});
    s.ExpectUnchanged(link ? "link" : "folder");
    EXPECT_EQ(s.t.Read("D:\\taro.wab\\kept.txt"), "kept");
    EXPECT_FALSE(s.t.files.Exists("D:\\taro.wab.vorn-old"));
    ASSERT_EQ(s.t.m.ui.messages.size(), 1u);  // no question, only the refusal
    EXPECT_EQ(s.LastMessage().icon, MsgIcon::Critical);
  }
}

TEST_F(AddressBookTest, RunningAddressBookNoPathOrCancelShowNoPicker) {
  t.m.processes.running = {"C:\\Program Files\\Outlook Express\\WAB.EXE"};
  Pick("D:\\");
  ExpectUnchanged("running");
  EXPECT_TRUE(t.m.ui.folderRequests.empty());
  EXPECT_EQ(LastMessage(), (MessageSpec{"アドレス帳 (Wab.exe)が起動中です。\r\n終了して下さい。", "Vorn", MsgIcon::Critical,
                                        MsgButtons::Ok, true, "C:\\Program Files\\Vorn\\Vorn4.chm", 17, 0x1234}));
  t.m.processes.running.clear();

  Pick("");  // cancelled
  ExpectUnchanged("cancel");
  EXPECT_EQ(t.m.ui.messages.size(), 1u);

  for (const std::string& value : {std::string("taro.wab"), std::string("C:\\Nowhere\\taro.wab")}) {
    t.m.app->reg.RegWriteValue(RegRoot::CurrentUser, kWabFileNameKey, "", value);
    t.m.ui.folderRequests.clear();
    Pick("D:\\");
    EXPECT_TRUE(t.m.ui.folderRequests.empty()) << value;
    EXPECT_EQ(LastMessage().text, "アドレス帳のファイルが見つかりません。\r\n" + value);
  }
  EXPECT_EQ(t.Read(old), "address book data");
}

TEST(AddressBookFailures, EveryFailureLeavesTheOldFileAndValueAndSaysSo) {
  using Inject = std::function<void(AddressBookScene&)>;
  const std::vector<std::pair<const char*, Inject>> cases = {
      {"copy broken off half way",
       [](AddressBookScene& s) {
         s.t.files.onCopy = [&s](const std::string& from, const std::string& to) -> std::optional<FsResult> {
           s.t.files.WriteHalfCopy(from, to);
           return FsResult::Failed;
         };
       }},
      {"copy reported whole but short",
       [](AddressBookScene& s) {
         s.t.files.onCopy = [&s](const std::string& from, const std::string& to) -> std::optional<FsResult> {
           s.t.files.WriteHalfCopy(from, to);
           return FsResult::Ok;
         };
       }},
      {"the new file cannot take its name",
       [](AddressBookScene& s) {
         s.t.files.onMove = [](const std::string& from, const std::string&) -> std::optional<FsResult> {
           if (from.ends_with(".vorn-new")) return FsResult::AccessDenied;
           return std::nullopt;
         };
       }},
      {"registry value cannot be written",
       [](AddressBookScene& s) { s.t.m.registry.DenyWrites(RegRoot::CurrentUser, kWabFileNameKey); }},
      {"old file in use", [](AddressBookScene& s) { s.t.files.MarkInUse(s.old); }},
  };
  for (const auto& [what, inject] : cases) {
    AddressBookScene s;
    s.t.m.CreateFile("D:\\Data\\taro.wab", "someone else's");
    inject(s);
    s.Pick("D:\\Data", {MsgAnswer::Yes});
    s.ExpectUnchanged(what);
    EXPECT_EQ(s.t.Read("D:\\Data\\taro.wab"), "someone else's") << what;
    EXPECT_EQ(s.t.files.List("D:\\Data", "*").size(), 1u) << what;
    ASSERT_EQ(s.t.m.ui.messages.size(), 2u) << what;
    EXPECT_TRUE(s.LastMessage().text.starts_with("アドレス帳を移動できませんでした。\r\n")) << what;
    EXPECT_TRUE(s.LastMessage().text.ends_with("アドレス帳は元の場所のままです。\r\n" + s.old)) << what;
  }
}

}  // namespace
}  // namespace vorn::test
