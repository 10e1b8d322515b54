#include "ui/opt.h"

#include <algorithm>
#include <cctype>

#include "core/app.h"
#include "core/environment_discovery.h"
#include "core/help_contexts.h"
#include "core/mail_program_checks.h"
#include "core/oe_options.h"
#include "dbx/folder_classification.h"
#include "dbx/folder_info.h"
#include "dbx/folder_scan_cache.h"
#include "dbx/mail_folder_tree.h"
#include "dbx/message_extraction.h"
#include "set/set_layout.h"
#include "tools/address_book_relocation.h"
#include "tools/favorites_relocation.h"
#include "tools/temp_file_cleanup.h"
#include "ui/form1.h"

namespace vorn {
namespace {

constexpr auto kEventsInterval = std::chrono::milliseconds(40);

// The first number of a count label such as "12 ﾒｯｾｰｼﾞ" or "破損: 回復できるﾒｯｾｰｼﾞ 28"; 0 when there is none.
int32_t CountInLabel(const std::string& caption) {
  int32_t count = 0;
  const size_t first = caption.find_first_of("0123456789");
  for (char c : caption.substr(std::min(first, caption.size()))) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    count = count * 10 + (c - '0');
    if (count > 1000000000) break;
  }
  return count;
}

}  // namespace

// The progress bar of a Convert run, shown as the run goes.
class Opt::Progress : public ExtractionProgress {
 public:
  explicit Progress(Opt& form) : form_(form) {}
  void Begin(int32_t maximum) override {
    form_.ProgressBar1.maximum = maximum;
    form_.ProgressBar1.SetValue(0);
    form_.ProgressBar1.visible = true;
    form_.LetEventsRun(true);
  }
  void Update(int32_t value) override {
    form_.ProgressBar1.SetValue(value);
    form_.LetEventsRun(false);
  }
  // The bar goes before the completion message comes.
  void End(int32_t named) override {
    if (form_.ProgressBar1.value < named) form_.ProgressBar1.SetValue(CountInLabel(form_.Label6[1].caption));
    form_.ProgressBar1.visible = false;
    form_.LetEventsRun(true);
  }

 private:
  Opt& form_;
};

Opt::Opt(App& app, Form1& mainWindow) : ModalForm("オプション"), app_(app), mainWindow_(mainWindow) {}

RunContext Opt::Context() { return RunContext(app_, hwnd); }

bool Opt::Busy() const { return app_.runState.Going(); }

RunGuard Opt::Working() {
  return RunGuard(app_.runState, RunGuard::Cursor::Wait, [this](bool going) { working = going; });
}

std::string Opt::IdentityAt(int index) const {
  const auto& subkeys = mainWindow_.List2.items;
  return index >= 0 && index < static_cast<int>(subkeys.size()) ? subkeys[static_cast<size_t>(index)] : "";
}

void Opt::LetEventsRun(bool now) {
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - lastEvents_ < kEventsInterval) return;
  lastEvents_ = time;
  if (showNow) showNow();
  app_.platform.ui.DoEvents();
}

void Opt::Form_Load() {
  const std::string& version = app_.env.oeVersion;
  oeMajorVersion = !version.empty() && std::isdigit(static_cast<unsigned char>(version[0])) ? version[0] - '0' : 0;
  SSTab1.selected = kSettingsTab;
  Text3.text = app_.env.wabFilePath;
  Text5.text = app_.env.favoritesFolder;
  Command4.enabled = !Text3.text.empty();
  Command10.enabled = !Text5.text.empty();

  // Setting a box from here counts as the user's choice: its handler stores what it shows.
  Settings& settings = app_.settings;
  Check1.checked = settings.openFolderAfterBackup == 1;
  Check1_Click();
  Check2.checked = settings.confirmCrossFamilyRestore == 1;
  Check2_Click();
  if (!MainIdentityPresent(mainWindow_.List2.items, app_.env.mainIdentityGuid)) {
    settings.mainUserOnly = 0;
    Option3.EnableItem(1, false);
  }
  Option3_Click(settings.mainUserOnly);
  Check4.checked = settings.saveFavoritesOrder == 1;
  Check4_Click();
  Check5.checked = settings.saveDialUp == 1;
  Check5_Click();
  Check3.checked = settings.exportFavoritesHtml == 1;
  Check3_Click();

  Combo1.items = Combo2.items = mainWindow_.List1.items;
  dbxlist();
  if (!Combo1.items.empty()) {
    Combo1_Click(0);
    Combo2_Click(0);
  }
  Command5.enabled = false;
}

void Opt::Form_Resize() { ScanMailFolders(); }

void Opt::SSTab1_Click(int tab) {
  SSTab1.selected = tab;
  if (tab == kSettingsTab) {
    MenuSwitches switches = app_.MainWindow().switches;
    LoadEnvironment(app_.platform.environment, app_.reg, app_.env);
    LoadSettings(app_.reg, app_.settings, switches);
    mainWindow_.SetMenuSwitches(switches);
    Text3.text = app_.env.wabFilePath;
    Command4.enabled = !Text3.text.empty();
    Text5.text = app_.env.favoritesFolder;
    Command10.enabled = !Text5.text.empty();
    Command1.enabled = false;
  } else {
    Command1.enabled = true;
    Combo1_Click(Combo1.selected);
  }
}

void Opt::SaveCheck(const CheckBox& box, Switch which, int16_t& setting) {
  setting = box.checked ? 1 : 0;
  SaveSwitch(app_.reg, which, setting);
}

void Opt::Check1_Click() { SaveCheck(Check1, Switch::OpenFolderAfterBackup, app_.settings.openFolderAfterBackup); }
void Opt::Check2_Click() { SaveCheck(Check2, Switch::ConfirmCrossFamilyRestore, app_.settings.confirmCrossFamilyRestore); }
void Opt::Check3_Click() { SaveCheck(Check3, Switch::ExportFavoritesHtml, app_.settings.exportFavoritesHtml); }
void Opt::Check4_Click() { SaveCheck(Check4, Switch::SaveFavoritesOrder, app_.settings.saveFavoritesOrder); }
void Opt::Check5_Click() { SaveCheck(Check5, Switch::SaveDialUp, app_.settings.saveDialUp); }

void Opt::Option3_Click(int index) {
  Option3.selected = index;
  app_.settings.mainUserOnly = index == 1 ? 1 : 0;
  SaveSwitch(app_.reg, Switch::MainUserOnly, app_.settings.mainUserOnly);
}

void Opt::Combo2_Click(int index) {
  Combo2.selected = index;
  ReadOeOptions();
}

void Opt::ReadOeOptions() {
  const std::string identity = IdentityAt(Combo2.selected);
  if (identity.empty()) return;
  // Shown only: the values are written when the user picks an option, not by looking at them.
  const OeOptionChoices choices = vorn::ReadOeOptions(app_.reg, identity);
  Option2.selected = choices.logo;
  Option1.EnableItem(kPictureSlideShow, oeMajorVersion == 5);
  if (choices.pictures) Option1.selected = *choices.pictures;
}

void Opt::Option1_Click(int index) {
  Option1.selected = index;
  WritePictureOption(app_.reg, IdentityAt(Combo2.selected), index);
}

void Opt::Option2_Click(int index) {
  Option2.selected = index;
  WriteLogoOption(app_.reg, IdentityAt(Combo2.selected), index);
}

// The maintenance tools leave the pointer and the controls as they are; they show the
// hourglass themselves where they work on their own.
void Opt::Command4_Click() {
  const RunGuard running(app_.runState, RunGuard::Cursor::Normal);
  RunContext context = Context();
  RelocateAddressBook(context, Text3.text);
}

void Opt::Command10_Click() {
  const RunGuard running(app_.runState, RunGuard::Cursor::Normal);
  RunContext context = Context();
  RelocateFavorites(context, Text5.text);
}

void Opt::Command9_Click() {
  const RunGuard running(app_.runState, RunGuard::Cursor::Normal);
  RunContext context = Context();
  DeleteEmptyTemporaryFiles(context);
}

void Opt::Command8_Click(int index) {
  if (index == kClose || index == kMailStoreClose) {
    closed = true;
  } else if (index == kHelp || index == kMailStoreHelp) {
    app_.platform.ui.ShowHelp(hwnd, app_.HelpFile(), index == kHelp ? kHelpTopicSettings : kHelpTopicMailStore);
  }
}

void Opt::Image4_DblClick() {
  Check4.visible = !Check4.visible;
  Check4.checked = Check4.visible;
  Check4_Click();
}

void Opt::dbxlist() {
  TreeView1.Clear();
  for (const auto& node : FixedFolderTreeNodes())
    TreeView1.Add(node.parentKey, node.key, node.text, node.imageKey, node.expanded);
}

void Opt::UserPth() {
  EnvironmentRecord& env = app_.env;
  env.selectedUserName = Combo1.Text();
  env.selectedIdentityGuid = IdentityAt(Combo1.selected);
  env.storeRootFolder = ResolveStoreRoot(app_.reg, env, env.selectedIdentityGuid);
  if (env.storeRootFolder.empty()) {
    Context().Show({"Store Root が見つかりません。", "警告 - <dbx>", MsgIcon::Warning, MsgButtons::Ok, help::IDH_STORE_ROOT_MISSING});
    app_.EndProgram();
  }
  Text1.text = env.storeRootFolder;
}

void Opt::Combo1_Click(int index) {
  if (index < 0 || index >= static_cast<int>(Combo1.items.size())) return;
  Combo1.selected = index;
  UserPth();
  file1Folder = Text1.text;
  folderLists = {};
  rescanNeeded = LoadFolderScanCache(app_.reg, Combo1.Text(), folderLists);
  if (rescanNeeded) {
    ScanMailFolders();
    rescanNeeded = false;
  }
  ClearFolderLabels();
  dbxlist();
  AddScannedNodes(false);
}

void Opt::ClearFolderLabels() {
  for (Label& label : Label6) label.caption.clear();
}

void Opt::AddScannedNodes(bool userFolders) {
  for (const auto& news : folderLists.news) {
    FolderTreeNode node = NewsFolderNode(news);
    TreeView1.Add(node.parentKey, node.key, node.text, node.imageKey, node.expanded);
  }
  if (!userFolders) return;
  for (const auto& mail : folderLists.mail)
    if (auto node = UserFolderNode(mail)) TreeView1.Add(node->parentKey, node->key, node->text, node->imageKey, node->expanded);
}

void Opt::Command1_Click() { ScanMailFolders(); }

void Opt::ScanMailFolders() {
  if (!Command1.enabled) return;
  Command5.enabled = false;
  ClearFolderLabels();
  dbxlist();
  UserPth();
  file1Folder = Text1.text;
  DelDBX();
  Label7.visible = true;
  {
    const RunGuard running = Working();
    cnvF1();
    Label7.visible = false;
    AddScannedNodes(app_.extraListFlag);
  }
  SaveFolderScanCache(app_.reg, Combo1.Text(), folderLists);
}

void Opt::DelDBX() {
  candidateFiles = ListCandidateFiles(app_.platform.files, file1Folder);
  folderLists = {};
}

void Opt::cnvF1() {
  LetEventsRun(true);
  folderLists = ClassifyCandidates(
      app_.platform.files, file1Folder, candidateFiles,
      [this](const std::string& path, DbxError error) { Context().Show(FolderScanErrorMessage(path, error)); },
      [this](const std::string& path, const FolderDamage& damage) { Context().Show(FolderDamageMessage(path, damage)); });
}

void Opt::TreeView1_NodeClick(int node) {
  if (node < 0 || node >= static_cast<int>(TreeView1.nodes.size())) return;
  TreeView1.selected = node;
  ShowFolderInfo();
}

void Opt::ShowFolderInfo() {
  // A damaged folder file is read through once to count what recovery finds.
  const RunGuard running = Working();
  const std::string account = HotmailAccountName(app_.reg, app_.env.selectedIdentityGuid, app_.env.mainIdentityGuid);
  const FolderInfoLabels labels =
      vorn::ShowFolderInfo(app_.platform.files, file1Folder, account, TreeView1.nodes[static_cast<size_t>(TreeView1.selected)].text);
  Label6[0].caption = labels.name;
  Label6[1].caption = labels.count;
  Label6[2].caption = labels.size;
  Command5.enabled = labels.convertEnabled;
}

void Opt::Command5_Click() {
  Platform& p = app_.platform;
  const std::string& kind = app_.env.osKind;
  RunContext context = Context();
  if ((kind == "Windows98" || kind == "WindowsMe" || kind == "Windows2000") &&
      CountRunningProcesses(p.processes, "Msimn.exe") > 0) {
    context.Show({"Outlook Express (Msimn.exe)が起動中です。\r\n終了して下さい。", "Vorn", MsgIcon::Critical});
    return;
  }
  if (kind == "WindowsXP" && !MailStoreFree(p.files, Text1.text)) {
    context.Show({"Outook Express(Msimn.exe)が起動中です。\r\n終了して下さい。", "Vorn", MsgIcon::Critical});
    return;
  }
  if (Label6[1].caption.empty()) {
    context.Show({"ファイルが見つかりません。処理を中止しました。", "-ERROR-C5C", MsgIcon::Critical});
    return;
  }
  Command5.enabled = false;
  const RunGuard running = Working();
  ProgressBar1.barColor = 0x0032FF32;  // red 50, green 255, blue 50
  ProgressBar1.SetValue(0);
  LetEventsRun(true);

  ExtractFolderRequest request;
  request.storeRoot = Text1.text;
  request.hotmailAccountName = HotmailAccountName(app_.reg, app_.env.selectedIdentityGuid, app_.env.mainIdentityGuid);
  request.folderName = Label6[0].caption;
  request.backupPath = app_.settings.backupPath;
  request.userFolderName = MakeSetFolderName(Combo1.Text());
  Progress progress(*this);
  ExtractFolder(p.files, p.ui, request, progress);

  ProgressBar1.SetValue(100);
}

}  // namespace vorn
