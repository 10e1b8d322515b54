#include "ui/form1.h"

#include "backup/backup_run.h"
#include "core/help_contexts.h"
#include "restore/restore_run.h"
#include "core/app.h"
#include "core/environment_discovery.h"
#include "core/run_guard.h"
#include "ui/ex_info.h"
#include "ui/form_host.h"
#include "ui/frm_bkpth.h"
#include "ui/mailme.h"
#include "ui/opt.h"

namespace vorn {

Form1::Form1(App& app, FormHost& host)
    : runBackup([&app] { RunBackup(app); }),
      runRestore([&app, &host] {
        RunRestore(app, [&app, &host](const std::vector<std::string>& fields) {
          ExInfo dialog(fields, app.env.osKind, app.env.oeVersion);
          host.ShowModal(dialog);
        });
      }),
      openOptions([this] { ShowOptions(); }),
      openSupportMail([this] {
        Mailme sheet(app_, *this);
        host_.ShowModal(sheet);
      }),
      app_(app),
      host_(host) {
  List1.enabled = false;
  app_.fillMainWindowState = [this](MainWindowState& state) { FillMainWindowState(state); };
}

Form1::~Form1() { app_.fillMainWindowState = nullptr; }

void Form1::FillMainWindowState(MainWindowState& state) const {
  state.owner = hwnd;
  state.switches = {MnLHA.checked, MnWab.checked, MnFavo.checked};
  state.identitySubkeys = List2.items;
}

void Form1::SetMenuSwitches(const MenuSwitches& switches) {
  MnLHA.checked = switches.compressMail;
  MnWab.checked = switches.saveAddressBook;
  MnFavo.checked = switches.saveFavorites;
}

void Form1::EnsureLoaded() {
  if (!loaded) Form_Load();
}

void Form1::Form_Load() { loaded = true; }

bool Form1::Busy() const { return app_.runState.Going(); }

void Form1::Option1_Click(int index) {
  if (Busy()) return;
  Option1.selected = index;
  List1.enabled = true;
}

void Form1::List1_Click(int index) {
  if (Busy() || Option1.selected == kNoMode) return;
  if (index < 0 || index >= static_cast<int>(List1.items.size()) || index >= static_cast<int>(List2.items.size()))
    return;
  List1.selected = index;
  EnvironmentRecord& env = app_.env;
  env.selectedUserName = List1.items[index];
  env.selectedIdentityGuid = List2.items[index];
  env.storeRootFolder = ResolveStoreRoot(app_.reg, env, env.selectedIdentityGuid);
  if (env.storeRootFolder.empty()) {
    app_.ShowMessage({"Store_Rootが見つかりません。", "警告 - Error.L1", MsgIcon::Warning, MsgButtons::Ok, help::IDH_STORE_ROOT_MISSING});
    app_.EndProgram();
  }
  Text1.text = env.storeRootFolder;
  Command1[kOk].enabled = true;
}

// A backup disables the frame with the mode and the user list and both buttons, and shows the
// hourglass; a restore leaves the controls as they are and shows the hourglass from its own
// step. Either way the window takes no input until the run is over.
void Form1::Command1_Click(int index) {
  if (Busy()) return;
  if (index == kExit) app_.EndProgram();
  if (Option1.selected == kBackupMode) {
    if (!runBackup) return;
    const RunGuard running(app_.runState, RunGuard::Cursor::Wait, [this](bool going) {
      Frame1.enabled = !going;
      for (Button& button : Command1) button.enabled = !going;
    });
    runBackup();
  } else if (runRestore) {
    const RunGuard running(app_.runState, RunGuard::Cursor::Normal);
    runRestore();
  }
}

void Form1::Image1_DblClick() {
  if (!Busy()) app_.extraListFlag = !app_.extraListFlag;
}

void Form1::SaveMenuSwitch(MenuItem& item, Switch which) {
  if (!Busy()) SaveSwitch(app_.reg, which, item.Toggle());
}

void Form1::MnWab_Click() { SaveMenuSwitch(MnWab, Switch::SaveAddressBook); }
void Form1::MnFavo_Click() { SaveMenuSwitch(MnFavo, Switch::SaveFavorites); }
void Form1::MnLHA_Click() { SaveMenuSwitch(MnLHA, Switch::CompressMail); }

void Form1::MnChSave_Click() {
  if (Busy()) return;
  FrmBkpth dialog(app_);
  host_.ShowModal(dialog);
}

void Form1::MnOp_Click() {
  if (!Busy() && openOptions) openOptions();
}

void Form1::ShowOptions() {
  Opt options(app_, *this);
  host_.ShowModal(options);
  ReturnToStartState();
}

void Form1::ReturnToStartState() {
  Option1.selected = kNoMode;
  List1.enabled = false;
  List1.selected = -1;
  Command1[kOk].enabled = false;
  Text1.text.clear();
}

void Form1::MnEnd_Click() {
  if (!Busy()) app_.EndProgram();
}

void Form1::StartSiblingTool(const std::string& exeName) {
  if (Busy()) return;
  const std::string path = app_.ProgramFolder() + "\\" + exeName;
  if (app_.FileExists(path)) app_.platform.processes.Start(path, WindowStyle::Normal);
}

void Form1::MnChanger_Click() { StartSiblingTool("Ruvelt.exe"); }
void Form1::MnComp_Click() { StartSiblingTool("Dostrim.exe"); }

void Form1::MnMokuji_Click() {
  if (!Busy()) app_.platform.ui.ShowHelp(hwnd, app_.HelpFile(), kHelpTopicContents);
}

void Form1::MnMail_Click() {
  if (!Busy() && openSupportMail) openSupportMail();
}

void Form1::Flash() { app_.FlashMainWindow(); }

}  // namespace vorn
