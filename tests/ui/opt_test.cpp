#include "ui/opt.h"

#include <gtest/gtest.h>

#include "tests/dbx/dbx_writer.h"
#include "tests/support/sim_machine.h"
#include "ui/form1.h"
#include "ui/startup.h"

namespace vorn {
namespace {

using Names = std::vector<std::string>;

const std::string kTaro = "AAAAAAAA-0000-0000-0000-000000000001";
const std::string kHanako = "BBBBBBBB-0000-0000-0000-000000000002";
const std::string kTaroStore = "C:\\Store\\taro";
const std::string kHanakoStore = "C:\\Store\\hanako";

std::string OeKey(const std::string& guid) { return "Identities\\{" + guid + "}\\Software\\Microsoft\\Outlook Express\\5.0"; }

std::vector<unsigned char> Folder(std::vector<std::pair<MessageKind, std::string>> messages,
                                  std::optional<int32_t> count = {}) {
  test::DbxDescription description;
  for (auto& [kind, text] : messages) {
    test::DbxMessage message;
    message.kind = kind;
    message.text = text;
    description.messages.push_back(message);
  }
  description.headerCount = count;
  return test::WriteDbx(description).bytes;
}

class OptTest : public ::testing::Test {
 protected:
  explicit OptTest(bool withMainIdentity = true) {
    m.AddIdentity({kTaro, "taro", kTaroStore + "\\"});
    m.AddIdentity({kHanako, "hanako", kHanakoStore});
    if (withMainIdentity) m.SetMainIdentity(kTaro);
    Put(kTaroStore + "\\受信トレイ.dbx", Folder({{MessageKind::Mail, "m0"}, {MessageKind::Mail, "m1\n"},
                                                 {MessageKind::Mail, "m2"}}));
    Put(kTaroStore + "\\下書き.dbx", Folder({}, 0));
    Put(kTaroStore + "\\fj.comp.lang.c.dbx", Folder({{MessageKind::News, "n0"}}));
    Put(kTaroStore + "\\Projects.dbx", Folder({{MessageKind::Mail, "p0"}}));
    Put(kTaroStore + "\\Folders.dbx", {1, 2, 3});
    Put(kHanakoStore + "\\受信トレイ.dbx", Folder({{MessageKind::Mail, "h0"}}));
    Main(*m.app, false);
  }
  void Put(const std::string& path, const std::vector<unsigned char>& bytes) {
    m.CreateFile(path, std::string(bytes.begin(), bytes.end()));
  }
  Form1& main() { return m.app->form1(); }
  std::unique_ptr<Opt> Open() {
    auto opt = std::make_unique<Opt>(*m.app, main());
    opt->hwnd = 0x5150;
    opt->Form_Load();
    return opt;
  }
  std::optional<RegValue> Oe(const std::string& guid, const std::string& name) {
    return m.registry.ReadValue(RegRoot::CurrentUser, OeKey(guid), name);
  }
  static int Node(const Opt& opt, const std::string& text) {
    for (size_t i = 0; i < opt.TreeView1.nodes.size(); ++i)
      if (opt.TreeView1.nodes[i].text == text) return static_cast<int>(i);
    return -1;
  }
  static Names Children(const Opt& opt, const std::string& parentText) {
    Names texts;
    const int parent = Node(opt, parentText);
    for (const auto& node : opt.TreeView1.nodes)
      if (node.parent == parent) texts.push_back(node.text);
    return texts;
  }
  SimMachine m;
};

const RegValue kLogoHidden{regtype::kBinary, {1, 0, 0, 0}};
const RegValue kLogoShown{regtype::kBinary, {0, 0, 0, 0}};
RegValue Dword(uint8_t n) { return {regtype::kDword, {n, 0, 0, 0}}; }

TEST_F(OptTest, LoadingShowsAndRewritesEverySwitchAndTheFirstUsersOptions) {
  RegistryAccess reg(m.registry);
  SaveSwitch(reg, Switch::OpenFolderAfterBackup, 0);
  SaveSwitch(reg, Switch::MainUserOnly, 1);
  SaveSwitch(reg, Switch::SaveDialUp, 0);
  MenuSwitches switches;
  LoadSettings(reg, m.app->settings, switches);  // the settings as stored
  m.registry.DeleteValue(RegRoot::CurrentUser, "Software\\Vorn", "Message");  // written again by the window
  auto opt = Open();
  EXPECT_EQ(opt->caption, "オプション");
  EXPECT_EQ(opt->SSTab1.selected, Opt::kSettingsTab);
  EXPECT_FALSE(opt->Check1.checked);
  EXPECT_TRUE(opt->Check2.checked);
  EXPECT_TRUE(opt->Check3.checked);
  EXPECT_TRUE(opt->Check4.checked);
  EXPECT_FALSE(opt->Check4.visible);
  EXPECT_FALSE(opt->Check5.checked);
  EXPECT_EQ(opt->Option3.selected, 1);
  EXPECT_TRUE(opt->Option3.ItemEnabled(1));
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"OpenFolder", "0"}, {"Message", "1"}, {"wfST", "1"}, {"FavoOrder", "1"}, {"Remote", "0"}, {"IEexport", "1"}})
    EXPECT_EQ(m.ReadSetting(name), value) << name;

  EXPECT_EQ(opt->Combo1.items, (Names{"taro", "hanako"}));
  EXPECT_EQ(opt->Combo2.items, opt->Combo1.items);
  EXPECT_EQ(opt->Combo1.selected, 0);
  EXPECT_EQ(opt->Combo2.selected, 0);
  // taro has neither option stored: "非表示" and the stacked pictures are shown, nothing is stored.
  EXPECT_EQ(opt->Option2.selected, 1);
  EXPECT_EQ(opt->Option1.selected, 1);
  EXPECT_FALSE(Oe(kTaro, "NoSplash"));
  EXPECT_FALSE(Oe(kTaro, "Automatically Inline Images"));
  EXPECT_FALSE(Oe(kHanako, "NoSplash"));
  EXPECT_FALSE(opt->Option1.ItemEnabled(2));  // Outlook Express 6

  EXPECT_EQ(opt->Text3.text, m.app->env.wabFilePath);
  EXPECT_EQ(opt->Text5.text, m.app->env.favoritesFolder);
  EXPECT_TRUE(opt->Command4.enabled);
  EXPECT_FALSE(opt->Command1.enabled);
  EXPECT_FALSE(opt->Command5.enabled);
  EXPECT_EQ(opt->Text1.text, kTaroStore);
  EXPECT_EQ(Children(*opt, "ローカルフォルダ"), (Names{"受信トレイ", "送信トレイ", "送信済みアイテム", "削除済みアイテム", "下書き"}));
  EXPECT_TRUE(Children(*opt, "ニュース(NTTP)").empty());  // not scanned while the first tab is shown
}

class OptWithoutMainIdentity : public OptTest {
 protected:
  OptWithoutMainIdentity() : OptTest(false) {}
};

TEST_F(OptWithoutMainIdentity, MainUserOnlyIsOffAndCannotBeChosen) {
  SaveSwitch(m.app->reg, Switch::MainUserOnly, 1);
  MenuSwitches switches;
  LoadSettings(m.app->reg, m.app->settings, switches);
  auto opt = Open();
  EXPECT_EQ(opt->Option3.selected, 0);
  EXPECT_FALSE(opt->Option3.ItemEnabled(1));
  EXPECT_EQ(m.ReadSetting("wfST"), "0");
  EXPECT_EQ(m.app->settings.mainUserOnly, 0);
}

TEST_F(OptTest, EverySwitchStoresWhatItShows) {
  auto opt = Open();
  Settings& s = m.app->settings;
  struct Switch {
    CheckBox& box;
    void (Opt::*click)();
    const char* name;
    int16_t& setting;
  };
  const std::vector<Switch> switches = {{opt->Check1, &Opt::Check1_Click, "OpenFolder", s.openFolderAfterBackup},
                                        {opt->Check2, &Opt::Check2_Click, "Message", s.confirmCrossFamilyRestore},
                                        {opt->Check3, &Opt::Check3_Click, "IEexport", s.exportFavoritesHtml},
                                        {opt->Check4, &Opt::Check4_Click, "FavoOrder", s.saveFavoritesOrder},
                                        {opt->Check5, &Opt::Check5_Click, "Remote", s.saveDialUp}};
  for (const auto& sw : switches) {
    for (bool on : {false, true}) {
      sw.box.checked = on;
      ((*opt).*sw.click)();
      EXPECT_EQ(m.ReadSetting(sw.name), on ? "1" : "0") << sw.name;
      EXPECT_EQ(sw.setting, on ? 1 : 0) << sw.name;
    }
  }
  opt->Option3_Click(1);
  EXPECT_EQ(m.ReadSetting("wfST"), "1");
  opt->Option3_Click(0);
  EXPECT_EQ(m.ReadSetting("wfST"), "0");
  EXPECT_EQ(s.mainUserOnly, 0);
}

TEST_F(OptTest, OutlookExpressOptionsBelongToTheUserOfTheList) {
  m.registry.WriteValue(RegRoot::CurrentUser, OeKey(kHanako), "NoSplash", kLogoShown);
  m.registry.WriteValue(RegRoot::CurrentUser, OeKey(kHanako), "Automatically Inline Images", Dword(2));
  auto opt = Open();
  opt->Combo2_Click(1);
  EXPECT_EQ(opt->Option2.selected, 0);
  EXPECT_EQ(Oe(kHanako, "NoSplash"), kLogoShown);
  EXPECT_EQ(opt->Option1.selected, 2);  // selected although Outlook Express 6 cannot choose it
  EXPECT_FALSE(opt->Option1.ItemEnabled(2));

  opt->Option1_Click(0);
  opt->Option2_Click(1);
  EXPECT_EQ(Oe(kHanako, "Automatically Inline Images"), Dword(0));
  EXPECT_EQ(Oe(kHanako, "NoSplash"), kLogoHidden);
  EXPECT_FALSE(Oe(kTaro, "Automatically Inline Images"));  // choosing a user only shows its options

  // A number of its own leaves the choice alone; Outlook Express 5 offers the slide show.
  m.registry.WriteValue(RegRoot::CurrentUser, OeKey(kTaro), "Automatically Inline Images", Dword(9));
  m.app->env.oeVersion = "5.50.4807.1700";
  auto five = Open();
  EXPECT_TRUE(five->Option1.ItemEnabled(2));
  EXPECT_EQ(five->Option1.selected, 0);
  EXPECT_EQ(Oe(kTaro, "Automatically Inline Images"), Dword(9));
  five->Option1_Click(2);
  EXPECT_EQ(Oe(kTaro, "Automatically Inline Images"), Dword(2));
}

TEST_F(OptTest, TabsReloadTheirContentAndTheHiddenSwitchShowsTheOrderBox) {
  auto opt = Open();
  const std::string moved = "D:\\Wab\\taro.wab";
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", moved);
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn", "MnWab", int16_t{0});
  m.environment.specialFolders.erase("Favorites");  // no Favorites at all
  opt->SSTab1_Click(Opt::kMailStoreTab);
  EXPECT_TRUE(opt->Command1.enabled);
  EXPECT_EQ(Children(*opt, "ニュース(NTTP)"), Names{"fj.comp.lang.c"});
  opt->SSTab1_Click(Opt::kSettingsTab);
  EXPECT_FALSE(opt->Command1.enabled);
  EXPECT_EQ(opt->Text3.text, moved);
  EXPECT_TRUE(opt->Command4.enabled);
  EXPECT_EQ(opt->Text5.text, "");
  EXPECT_FALSE(opt->Command10.enabled);
  EXPECT_FALSE(main().MnWab.checked);

  opt->Image4_DblClick();
  EXPECT_TRUE(opt->Check4.visible);
  EXPECT_EQ(m.ReadSetting("FavoOrder"), "1");
  opt->Image4_DblClick();
  EXPECT_FALSE(opt->Check4.visible);
  EXPECT_FALSE(opt->Check4.checked);
  EXPECT_EQ(m.ReadSetting("FavoOrder"), "0");
}

TEST_F(OptTest, ClosingReturnsTheMainWindowToItsStartAndHelpOpensTheTopics) {
  for (int close : {Opt::kClose, Opt::kMailStoreClose}) {
    main().Option1_Click(Form1::kRestoreMode);
    main().List1_Click(0);
    ASSERT_TRUE(main().Command1[Form1::kOk].enabled);
    m.host.Expect<Opt>([&](Opt& opt) {
      opt.Command8_Click(Opt::kHelp);
      opt.Command8_Click(Opt::kMailStoreHelp);
      EXPECT_FALSE(opt.closed);
      opt.Command8_Click(close);
      EXPECT_TRUE(opt.closed);
    });
    main().MnOp_Click();
    EXPECT_EQ(main().Option1.selected, Form1::kNoMode);
    EXPECT_FALSE(main().List1.enabled);
    EXPECT_EQ(main().List1.selected, -1);
    EXPECT_FALSE(main().Command1[Form1::kOk].enabled);
    EXPECT_EQ(main().Text1.text, "");
  }
  EXPECT_EQ(m.ui.helpShown, (std::vector<SimUiServices::HelpRequest>{{"C:\\Program Files\\Vorn\\Vorn4.chm", 1070},
                                                                    {"C:\\Program Files\\Vorn\\Vorn4.chm", 1080},
                                                                    {"C:\\Program Files\\Vorn\\Vorn4.chm", 1070},
                                                                    {"C:\\Program Files\\Vorn\\Vorn4.chm", 1080}}));
}

TEST_F(OptTest, TheFirstVisitScansTheCacheServesTheNextAndUserFoldersNeedRefresh) {
  auto opt = Open();
  const std::string cache = "Software\\Vorn\\taro\\EmlNws";
  opt->SSTab1_Click(Opt::kMailStoreTab);
  EXPECT_EQ(Children(*opt, "ニュース(NTTP)"), Names{"fj.comp.lang.c"});
  EXPECT_EQ(Children(*opt, "ローカルフォルダ").size(), 5u);
  EXPECT_EQ(m.app->reg.RegEnumSubkeys(RegRoot::CurrentUser, cache), (Names{"Eml", "Nws"}));
  EXPECT_EQ(*m.app->reg.RegEnumValueNames(RegRoot::CurrentUser, cache + "\\Nws"), Names{"fj.comp.lang.c"});
  EXPECT_EQ(m.app->reg.RegEnumValueNames(RegRoot::CurrentUser, cache + "\\Eml")->size(), 3u);
  EXPECT_EQ(m.app->reg.RegReadText(RegRoot::CurrentUser, cache, "Update"), "");  // went with the old cache
  EXPECT_FALSE(opt->Label7.visible);
  EXPECT_EQ(m.ui.waitCursor, (std::vector<bool>{true, false}));
  EXPECT_EQ(m.app->env.selectedUserName, "taro");
  EXPECT_EQ(m.app->env.storeRootFolder, kTaroStore);

  // A new folder file shows only after a scan; the user's own folders only with the hidden switch.
  Put(kTaroStore + "\\alt.test.dbx", Folder({{MessageKind::News, "t"}}));
  opt->Combo1_Click(1);
  opt->Combo1_Click(0);
  EXPECT_EQ(Children(*opt, "ニュース(NTTP)"), Names{"fj.comp.lang.c"});
  opt->Command1_Click();
  EXPECT_EQ(Children(*opt, "ニュース(NTTP)"), (Names{"alt.test", "fj.comp.lang.c"}));
  EXPECT_EQ(Children(*opt, "ローカルフォルダ").size(), 5u);
  main().Image1_DblClick();
  opt->Form_Resize();
  EXPECT_EQ(Children(*opt, "ローカルフォルダ").back(), "Projects");
  EXPECT_EQ(opt->TreeView1.nodes[static_cast<size_t>(Node(*opt, "Projects"))].imageKey, "T_Recv");
  EXPECT_EQ(opt->TreeView1.nodes[static_cast<size_t>(Node(*opt, "alt.test"))].imageKey, "C_NWS");
  opt->Combo1_Click(0);  // the identity choice shows the news groups only
  EXPECT_EQ(Node(*opt, "Projects"), -1);
  EXPECT_EQ(m.app->reg.RegReadText(RegRoot::CurrentUser, cache, "Update"), "0");

  opt->SSTab1_Click(Opt::kSettingsTab);
  const size_t nodes = opt->TreeView1.nodes.size();
  opt->Form_Resize();  // the Refresh button is off on the first tab: nothing happens
  opt->Command1_Click();
  EXPECT_EQ(opt->TreeView1.nodes.size(), nodes);
}

TEST_F(OptTest, AClickedFolderShowsItsCountAndSizeAndDecidesTheConvertButton) {
  auto opt = Open();
  opt->SSTab1_Click(Opt::kMailStoreTab);
  opt->TreeView1_NodeClick(Node(*opt, "受信トレイ"));
  const uint64_t size = *m.files.FileSize(kTaroStore + "\\受信トレイ.dbx");
  EXPECT_EQ(opt->Label6[0].caption, "受信トレイ");
  EXPECT_EQ(opt->Label6[1].caption, "3 ﾒｯｾｰｼﾞ");
  EXPECT_EQ(opt->Label6[2].caption, std::to_string(size / 1024) + "KB( " + std::to_string(size) + " バイト)");
  EXPECT_TRUE(opt->Command5.enabled);
  for (const char* group : {"ローカルフォルダ", "Outlook Express", "ニュース(NTTP)"}) {
    opt->TreeView1_NodeClick(Node(*opt, group));
    EXPECT_EQ(opt->Label6[0].caption + opt->Label6[1].caption + opt->Label6[2].caption, "") << group;
    EXPECT_FALSE(opt->Command5.enabled) << group;
  }
  opt->TreeView1_NodeClick(Node(*opt, "下書き"));
  EXPECT_EQ(opt->Label6[1].caption, "0 ﾒｯｾｰｼﾞ");
  EXPECT_EQ(opt->Label6[0].caption, "下書き");
  EXPECT_FALSE(opt->Command5.enabled);
  opt->TreeView1_NodeClick(Node(*opt, "送信トレイ"));
  EXPECT_EQ(opt->Label6[1].caption, "ファイルが存在しません");
  EXPECT_FALSE(opt->Command5.enabled);

  // The main identity's Hotmail account has its own copy of the folder.
  const std::string account = "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000009";
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, account, "HTTPMail Friendly Name", std::string("Hotmail"));
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, account, "Account Name", std::string("MyMail"));
  Put(kTaroStore + "\\MyMail - 送信トレイ.dbx", Folder({{MessageKind::Mail, "hm"}}));
  opt->TreeView1_NodeClick(Node(*opt, "送信トレイ"));
  EXPECT_EQ(opt->Label6[1].caption, "1 ﾒｯｾｰｼﾞ");
  EXPECT_TRUE(opt->Command5.enabled);
}

TEST_F(OptTest, ConvertWritesTheFolderWithAProgressBarAndAWindowThatKeepsUp) {
  auto opt = Open();
  opt->SSTab1_Click(Opt::kMailStoreTab);
  opt->TreeView1_NodeClick(Node(*opt, "受信トレイ"));
  std::vector<std::tuple<bool, bool, int32_t, int32_t>> seen;  // busy, bar shown, value, maximum
  opt->showNow = [&] { seen.emplace_back(opt->working, opt->ProgressBar1.visible, opt->ProgressBar1.value, opt->ProgressBar1.maximum); };
  const int eventsBefore = m.ui.eventsLetRun;
  opt->Command5_Click();
  const std::string out = m.app->settings.backupPath + "\\taro\\Eml_Nws\\受信トレイ\\";
  EXPECT_EQ(m.ReadFile(out + "00000.eml"), "m0\r\n");
  EXPECT_EQ(m.ReadFile(out + "00001.eml"), "m1\n");
  EXPECT_EQ(m.ReadFile(out + "00002.eml"), "m2\r\n");
  ASSERT_FALSE(seen.empty());
  for (const auto& [busy, shown, value, maximum] : seen) {
    EXPECT_TRUE(busy);
    EXPECT_LE(value, maximum);
  }
  EXPECT_TRUE(std::get<1>(seen[1]));  // the bar is up while the run goes
  EXPECT_EQ(std::get<3>(seen[1]), 3);
  EXPECT_GT(m.ui.eventsLetRun, eventsBefore);
  EXPECT_FALSE(opt->working);
  EXPECT_FALSE(opt->ProgressBar1.visible);
  EXPECT_EQ(opt->ProgressBar1.value, 3);  // 100, as far as a bar of 3 goes
  EXPECT_EQ(opt->ProgressBar1.barColor, 0x0032FF32u);
  EXPECT_FALSE(opt->Command5.enabled);
  EXPECT_EQ(m.ui.messages.back().text, "3 通のﾒｯｾｰｼﾞを処理しました。");
  EXPECT_EQ(m.ui.beeps, 1);
  opt->TreeView1_NodeClick(Node(*opt, "受信トレイ"));
  EXPECT_TRUE(opt->Command5.enabled);
}

TEST_F(OptTest, ConvertRefusesWhileTheMailProgramRunsOrWithoutAFolder) {
  auto opt = Open();
  opt->SSTab1_Click(Opt::kMailStoreTab);
  struct Case {
    std::string kind;
    std::function<void()> arrange;
    std::string text, title;
  };
  const std::vector<Case> cases = {
      {"WindowsXP", [&] { m.files.MarkInUse(kTaroStore + "\\Folders.dbx"); },
       "Outook Express(Msimn.exe)が起動中です。\r\n終了して下さい。", "Vorn"},
      {"Windows2000", [&] { m.processes.running = {"C:\\Program Files\\Outlook Express\\msimn.exe"}; },
       "Outlook Express (Msimn.exe)が起動中です。\r\n終了して下さい。", "Vorn"},
      {"WindowsMe", [&] { m.processes.running.clear(); }, "ファイルが見つかりません。処理を中止しました。", "-ERROR-C5C"},
  };
  for (const auto& c : cases) {
    m.app->env.osKind = c.kind;
    opt->TreeView1_NodeClick(Node(*opt, c.kind == "WindowsMe" ? "ローカルフォルダ" : "受信トレイ"));
    c.arrange();
    m.ui.messages.clear();
    opt->Command5_Click();
    ASSERT_EQ(m.ui.messages.size(), 1u) << c.kind;
    EXPECT_EQ(m.ui.messages[0].text, c.text);
    EXPECT_EQ(m.ui.messages[0].title, c.title);
    EXPECT_EQ(m.ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(m.ui.messages[0].owner, opt->hwnd);
    EXPECT_FALSE(m.files.Exists(m.app->settings.backupPath + "\\taro\\Eml_Nws")) << c.kind;
  }
}

TEST_F(OptTest, AFolderFileThatCannotBeReadIsNamedAndTheScanGoesOn) {
  Put(kTaroStore + "\\Broken.dbx", {1, 2, 3});
  auto opt = Open();
  opt->SSTab1_Click(Opt::kMailStoreTab);
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].text.substr(0, 12), "Broken.dbx: ");
  EXPECT_EQ(m.ui.messages[0].helpContext, 18);
  EXPECT_EQ(m.ui.messages[0].owner, opt->hwnd);
  EXPECT_EQ(Children(*opt, "ニュース(NTTP)"), Names{"fj.comp.lang.c"});
}

TEST_F(OptTest, AUserWithoutStoreRootEndsTheProgram) {
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, OeKey(kHanako), "Store Root", std::string());
  auto opt = Open();
  EXPECT_TRUE(EndsProgram([&] { opt->Combo1_Click(1); }));
  EXPECT_EQ(m.ui.messages.back().text, "Store Root が見つかりません。");
  EXPECT_EQ(m.ui.messages.back().title, "警告 - <dbx>");
  EXPECT_EQ(m.ui.messages.back().helpContext, 2);
}

TEST_F(OptTest, TheToolButtonsRunTheToolsOverTheWindow) {
  auto opt = Open();
  opt->Command9_Click();
  EXPECT_EQ(m.ui.messages.back().text, "0 個のファイルを削除しました。");
  EXPECT_EQ(m.ui.messages.back().owner, opt->hwnd);
  const std::string old = opt->Text3.text;
  m.files.CreateDirectory("D:");
  m.ui.pickedFolders = {"D:\\"};
  opt->Command4_Click();
  EXPECT_EQ(opt->Text3.text, "D:\\taro.wab");
  EXPECT_EQ(m.ReadFile("D:\\taro.wab"), "wab");
  EXPECT_EQ(m.ui.folderRequests.back().owner, opt->hwnd);
  m.ui.pickedFolders = {""};
  opt->Command10_Click();
  EXPECT_EQ(m.ui.folderRequests.back().title, "お気に入りの保存場所変更\r\n現在のお気に入りフォルダを移動します");
}

}  // namespace
}  // namespace vorn
