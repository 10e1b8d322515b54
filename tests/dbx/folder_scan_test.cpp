#include <gtest/gtest.h>

#include "dbx/folder_info.h"
#include "dbx/folder_scan.h"
#include "dbx/folder_scan_cache.h"
#include "dbx/mail_folder_tree.h"
#include "platform/sim/sim_registry_store.h"
#include "tests/dbx/dbx_test_support.h"

namespace vorn::test {
namespace {

using Names = std::vector<std::string>;

std::vector<unsigned char> Folder(std::vector<std::pair<MessageKind, bool>> messages, std::optional<int32_t> count = {}) {
  DbxDescription description;
  for (auto [kind, direct] : messages) {
    DbxMessage message;
    message.kind = kind;
    message.direct = direct;
    message.text = "Subject: x\r\n\r\nbody";
    description.messages.push_back(message);
  }
  description.headerCount = count;
  return WriteDbx(description).bytes;
}

const auto kMail = std::make_pair(MessageKind::Mail, true);
const auto kNews = std::make_pair(MessageKind::News, true);

class FolderScanTest : public DbxStore {
 protected:
  void PutFolder(const std::string& name, const std::vector<unsigned char>& bytes) { Put("C:\\Store\\" + name, bytes); }
  FolderScanLists Scan() {
    errors.clear();
    return ClassifyCandidates(files, "C:\\Store", ListCandidateFiles(files, "C:\\Store"),
                              [&](const std::string& path, DbxError error) { errors.push_back({path, error}); });
  }
  std::vector<std::pair<std::string, DbxError>> errors;
};

TEST_F(FolderScanTest, StandardFilesAreMailAndTheThreeListFilesAreLeftOut) {
  for (const char* name : {"受信トレイ.dbx", "送信トレイ.dbx", "送信済みアイテム.dbx", "削除済みアイテム.dbx", "下書き.dbx"})
    PutFolder(name, Folder({kMail}));
  PutFolder("送信トレイ.dbx", Folder({}, 0));  // an empty folder is a mail folder too
  for (const char* name : {"Folders.dbx", "Pop3uidl.dbx", "Offline.dbx"}) PutFolder(name, {1, 2, 3});
  EXPECT_EQ(ListCandidateFiles(files, "C:\\Store").size(), 5u);
  FolderScanLists lists = Scan();
  EXPECT_TRUE(lists.news.empty());
  EXPECT_EQ(lists.mail, (Names{"下書き.dbx", "削除済みアイテム.dbx", "受信トレイ.dbx", "送信トレイ.dbx", "送信済みアイテム.dbx"}));
  EXPECT_TRUE(errors.empty());
  for (const auto& file : lists.mail) EXPECT_FALSE(UserFolderNode(file)) << file;
}

TEST_F(FolderScanTest, NewsGroupsUserFoldersAndOddNames) {
  PutFolder("fj.comp.lang.c.dbx", Folder({kNews, kMail}));
  PutFolder("Projects.dbx", Folder({{MessageKind::Mail, false}, {MessageKind::Mail, false}, kNews}));
  PutFolder("NOTES.DBX", Folder({kMail}));
  PutFolder("folders.dbx", Folder({}, 0));  // only the exact spelling is left out
  PutFolder("Indirect.dbx", Folder({{MessageKind::News, false}}));
  files.CreateDirectory("C:\\Store\\Sub.dbx");
  PutFolder("notes.txt", Folder({kMail}));

  EXPECT_EQ(ListCandidateFiles(files, "C:\\Store"),
            (Names{"fj.comp.lang.c.dbx", "folders.dbx", "Indirect.dbx", "NOTES.DBX", "Projects.dbx"}));
  FolderScanLists lists = Scan();
  EXPECT_EQ(lists.news, (Names{"fj.comp.lang.c", "Projects"}));
  // Projects is listed once although two indirect mail records came before its news record.
  EXPECT_EQ(lists.mail, (Names{"folders.dbx", "NOTES.DBX", "Projects.dbx"}));
  EXPECT_EQ(NewsFolderNode("fj.comp.lang.c"), (FolderTreeNode{"", "fj.comp.lang.c", "T_NWS", "C_NWS", true}));
  EXPECT_EQ(UserFolderNode("Projects.dbx"), (FolderTreeNode{"", "Projects", "BOX", "T_Recv", true}));
}

TEST_F(FolderScanTest, DamagedFilesAreReportedByPathAndTheScanGoesOn) {
  std::vector<unsigned char> loop = Folder({kMail, kMail});
  const int32_t root = [&] {
    int32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | loop[0xE4 + i];
    return value;
  }();
  Put32(loop, static_cast<size_t>(root) + 0x14, 1);  // the root is its own first child
  Put32(loop, static_cast<size_t>(root) + 0x08, root);
  PutFolder("Loop.dbx", loop);
  PutFolder("Short.dbx", {0, 1, 2});
  PutFolder("Zeta.dbx", Folder({kNews}));
  FolderScanLists lists = Scan();
  EXPECT_EQ(lists.news, Names{"Zeta"});
  EXPECT_EQ(errors, (std::vector<std::pair<std::string, DbxError>>{{"C:\\Store\\Loop.dbx", DbxError::IndexLoop},
                                                                   {"C:\\Store\\Short.dbx", DbxError::PastEndOfFile}}));
}

TEST(FolderTree, FixedNodesInOrderWithTheirImagesAndGroups) {
  Names keys, texts;
  for (const auto& node : FixedFolderTreeNodes()) {
    keys.push_back(node.key);
    texts.push_back(node.text);
    EXPECT_EQ(node.imageKey, node.key);
    EXPECT_EQ(node.expanded, node.key == "ROOT" || node.key == "BOX" || node.key == "MEMO" || node.key == "T_NWS");
    EXPECT_EQ(IsFolderGroupText(node.text), node.key == "ROOT" || node.key == "BOX" || node.key == "T_NWS");
  }
  EXPECT_EQ(keys, (Names{"ROOT", "BOX", "T_Recv", "SEND", "SENDED", "DEL", "MEMO", "T_NWS"}));
  EXPECT_EQ(texts, (Names{"Outlook Express", "ローカルフォルダ", "受信トレイ", "送信トレイ", "送信済みアイテム",
                          "削除済みアイテム", "下書き", "ニュース(NTTP)"}));
}

TEST(FolderScanCache, FirstChoiceScansAndASavedCacheIsUsedUntilItsMailKeyGoes) {
  SimRegistryStore store;
  RegistryAccess reg(store);
  const std::string key = "Software\\Vorn\\山田 太郎\\EmlNws";
  EXPECT_EQ(FolderScanCacheKey("山田 太郎"), key);
  auto update = [&] { return reg.RegReadText(RegRoot::CurrentUser, key, "Update"); };

  FolderScanLists lists{{"stale"}, {"stale.dbx"}};
  EXPECT_TRUE(LoadFolderScanCache(reg, "山田 太郎", lists));
  EXPECT_EQ(lists, FolderScanLists{});
  EXPECT_EQ(update(), "1");

  SaveFolderScanCache(reg, "山田 太郎", {{"fj.comp.lang.c", "alt.test"}, {"受信トレイ.dbx", "Projects.dbx"}});
  EXPECT_EQ(reg.RegEnumSubkeys(RegRoot::CurrentUser, key), (Names{"Eml", "Nws"}));
  EXPECT_EQ(update(), "");  // went with the key
  EXPECT_EQ(reg.RegReadValue(RegRoot::CurrentUser, key + "\\Nws", "fj.comp.lang.c").status, 4);
  EXPECT_EQ(reg.RegReadText(RegRoot::CurrentUser, key + "\\Nws", "fj.comp.lang.c"), "1");

  EXPECT_FALSE(LoadFolderScanCache(reg, "山田 太郎", lists));
  EXPECT_EQ(lists, (FolderScanLists{{"alt.test", "fj.comp.lang.c"}, {"Projects.dbx", "受信トレイ.dbx"}}));
  EXPECT_EQ(update(), "0");

  // A news cache alone does not count: the scan runs again.
  reg.RegDeleteKeyTree(RegRoot::CurrentUser, key + "\\Eml");
  EXPECT_TRUE(LoadFolderScanCache(reg, "山田 太郎", lists));
  EXPECT_EQ(lists.news, (Names{"alt.test", "fj.comp.lang.c"}));
  EXPECT_EQ(update(), "1");

  // Another user's cache is its own.
  EXPECT_TRUE(LoadFolderScanCache(reg, "佐藤 次郎", lists));
  EXPECT_TRUE(lists.news.empty());
}

TEST(FolderScanCache, AStoredUpdateOfOneWinsWhenItCannotBeCleared) {
  SimRegistryStore store;
  RegistryAccess reg(store);
  SaveFolderScanCache(reg, "taro", {{}, {"受信トレイ.dbx"}});
  reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn\\taro\\EmlNws", "Update", int32_t{1});
  store.DenyWrites(RegRoot::CurrentUser, "Software\\Vorn\\taro");
  FolderScanLists lists;
  EXPECT_TRUE(LoadFolderScanCache(reg, "taro", lists));
  EXPECT_EQ(lists.mail, Names{"受信トレイ.dbx"});
}

class FolderInfoTest : public DbxStore {
 protected:
  FolderInfoLabels Info(const std::string& node, const std::string& account = "") {
    return ShowFolderInfo(files, "C:\\Store", account, node);
  }
  // A folder file of `count` messages (none: only zeros), `size` bytes long, zeros after its last block.
  void PutSized(const std::string& name, size_t size, int32_t count) {
    DbxDescription description;
    DbxMessage message;
    message.text = "Subject: x\r\n\r\nx\r\n";
    description.messages.resize(static_cast<size_t>(count), message);
    std::vector<unsigned char> bytes = WriteDbx(description).bytes;
    if (count == 0) bytes.clear();
    ASSERT_LE(bytes.size(), size);
    bytes.resize(size);
    Put("C:\\Store\\" + name, bytes);
  }
};

TEST_F(FolderInfoTest, LabelsAndTheConvertButtonByFolder) {
  PutSized("受信トレイ.dbx", 126543, 12);
  PutSized("下書き.dbx", 1023, 0);
  PutSized("送信トレイ.dbx", 2048, 0);
  PutSized("MyMail - 送信トレイ.dbx", 40960, 7);
  PutSized("Outlook Express.dbx", 40960, 7);
  struct Case {
    std::string node, account;
    FolderInfoLabels labels;
  };
  const std::vector<Case> cases = {
      {"受信トレイ", "", {"受信トレイ", "12 ﾒｯｾｰｼﾞ", "123KB( 126543 バイト)", true}},
      {"下書き", "", {"下書き", "0 ﾒｯｾｰｼﾞ", "0KB( 1023 バイト)", false}},
      {"送信トレイ", "", {"送信トレイ", "0 ﾒｯｾｰｼﾞ", "2KB( 2048 バイト)", false}},
      {"送信トレイ", "MyMail", {"送信トレイ", "7 ﾒｯｾｰｼﾞ", "40KB( 40960 バイト)", true}},
      {"送信済みアイテム", "", {"送信済みアイテム", "ファイルが存在しません", "", false}},
      {"Outlook Express", "", {}},
      {"ローカルフォルダ", "", {}},
      {"ニュース(NTTP)", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Info(c.node, c.account), c.labels) << c.node << " " << c.account;
}

TEST(HotmailAccount, FirstForTheMainIdentityLastForAnother) {
  SimRegistryStore store;
  RegistryAccess reg(store);
  const std::string main = "AAAAAAAA-0000-0000-0000-000000000001";
  const std::string other = "{BBBBBBBB-0000-0000-0000-000000000002}";
  auto account = [&](const std::string& accounts, const std::string& id, const std::string& friendly,
                     const std::string& name) {
    reg.RegWriteValue(RegRoot::CurrentUser, accounts + "\\" + id, "HTTPMail Friendly Name", friendly);
    reg.RegWriteValue(RegRoot::CurrentUser, accounts + "\\" + id, "Account Name", name);
  };
  const std::string shared = "Software\\Microsoft\\Internet Account Manager\\Accounts";
  const std::string own = "Identities\\" + other + "\\" + shared;
  EXPECT_EQ(HotmailAccountName(reg, "{" + main + "}", main), "");
  for (const std::string& accounts : {shared, own}) {
    account(accounts, "00000001", "POP3", "pop");
    account(accounts, "00000002", "Hotmail", "First");
    account(accounts, "00000003", "Hotmail", "Last");
  }
  EXPECT_EQ(HotmailAccountName(reg, "{" + main + "}", main), "First");
  EXPECT_EQ(HotmailAccountName(reg, other, main), "Last");
  EXPECT_EQ(HotmailAccountName(reg, "{CCCCCCCC-0000-0000-0000-000000000003}", main), "");
}

}  // namespace
}  // namespace vorn::test
