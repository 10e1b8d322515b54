#include "ui/form1.h"

#include "core/app.h"
#include "core/environment_discovery.h"
#include "ui/form_host.h"
#include "ui/frm_bkpth.h"

namespace vorn {

Form1::Form1(App& app) : app_(app) { List1.enabled = false; }

void Form1::EnsureLoaded() {
  if (!loaded) Form_Load();
}

void Form1::Form_Load() {
  loaded = true;
  Text2.text.clear();
  Text3.text.clear();
}

void Form1::Option1_Click(int index) {
  Option1.selected = index;
  List1.enabled = true;
}

void Form1::List1_Click(int index) {
  if (Option1.selected == kNoMode) return;
  if (index < 0 || index >= static_cast<int>(List1.items.size()) || index >= static_cast<int>(List2.items.size()))
    return;
  List1.selected = index;
  EnvironmentRecord& env = app_.env;
  env.selectedUserName = List1.items[index];
  env.selectedIdentityGuid = List2.items[index];
  env.storeRootFolder = ResolveStoreRoot(app_.reg, env, env.selectedIdentityGuid);
  if (env.storeRootFolder.empty()) {
    app_.ShowMessage({"Store_Rootが見つかりません。", "警告 - Error.L1", MsgIcon::Warning, MsgButtons::Ok, 2});
    app_.EndProgram();
  }
  Text1.text = env.storeRootFolder;
  Command1[kOk].enabled = true;
}

void Form1::Command1_Click(int index) {
  if (index == kExit) app_.EndProgram();
  const auto& run = Option1.selected == kBackupMode ? runBackup : runRestore;
  if (run) run();
}

void Form1::Image1_DblClick() { app_.extraListFlag = !app_.extraListFlag; }

void Form1::MnWab_Click() { SaveSwitch(app_.reg, "MnWab", MnWab.Toggle()); }
void Form1::MnFavo_Click() { SaveSwitch(app_.reg, "MnFavo", MnFavo.Toggle()); }
void Form1::MnLHA_Click() { SaveSwitch(app_.reg, "UnLHA32", MnLHA.Toggle()); }

void Form1::MnChSave_Click() {
  FrmBkpth dialog(app_);
  app_.host.ShowModal(dialog);
}

void Form1::MnOp_Click() {
  if (openOptions) openOptions();
}

void Form1::MnEnd_Click() { app_.EndProgram(); }

void Form1::StartSiblingTool(const std::string& exeName) {
  const std::string path = app_.ProgramFolder() + "\\" + exeName;
  if (app_.FileExists(path)) app_.platform.processes.Start(path, WindowStyle::Normal);
}

void Form1::MnChanger_Click() { StartSiblingTool("Ruvelt.exe"); }
void Form1::MnComp_Click() { StartSiblingTool("Dostrim.exe"); }

void Form1::MnMokuji_Click() { app_.platform.ui.ShowHelp(hwnd, app_.HelpFile(), kHelpTopicContents); }

void Form1::MnMail_Click() {
  if (openSupportMail) openSupportMail();
}

void Form1::Flash() {
  app_.platform.ui.Beep();
  app_.platform.ui.Flash(hwnd);
}

}  // namespace vorn
