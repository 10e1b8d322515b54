#pragma once
// The main window: mode, user list, Store Root, OK and Exit, and the menus.
#include <functional>

#include "core/help_contexts.h"
#include "core/main_window_state.h"
#include "core/settings.h"
#include "platform/window_handle.h"
#include "ui/controls.h"

namespace vorn {

class App;
class FormHost;

class Form1 {
 public:
  // Fills the run state's view of the main window (App::MainWindow) while it exists.
  Form1(App& app, FormHost& host);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Runs the load handler the first time the window is touched.
  void EnsureLoaded();

  void Form_Load();
  void Option1_Click(int index);
  void List1_Click(int index);
  void Command1_Click(int index);
  void Image1_DblClick();
  void MnWab_Click();
  void MnFavo_Click();
  void MnLHA_Click();
  void MnChSave_Click();
  void MnOp_Click();
  void MnEnd_Click();
  void MnChanger_Click();
  void MnComp_Click();
  void MnMokuji_Click();
  void MnMail_Click();
  // The beep and three flashes of the caption that end a backup or a restore.
  void Flash();
  // The check marks of the menu items that hold the switches, as the settings loaded them.
  void SetMenuSwitches(const MenuSwitches& switches);
  // Opens the options window modally; once it is closed the window is back at its start.
  void ShowOptions();
  // No mode, the user list disabled and without selection, OK disabled, no Store Root shown.
  void ReturnToStartState();

  static constexpr int kNoMode = 0;
  static constexpr int kBackupMode = 1;
  static constexpr int kRestoreMode = 2;
  static constexpr int kOk = 0;
  static constexpr int kExit = 1;
  static constexpr int kHelpTopicContents = help::IDH_CONTENTS;

  std::string caption = "Vorn";
  WindowHandle hwnd = 0;
  bool loaded = false;
  bool visible = false;
  // A run is under way: every handler of the window's own input does nothing meanwhile.
  bool Busy() const;

  Frame Frame1;  // holds the mode options and the user list
  ListBox List1;  // user names, main identity first
  ListBox List2;  // identity subkeys, parallel to List1
  OptionGroup Option1{{"BackUp", "Backup (&B)", "Restore (&R)"}, kNoMode};
  TextBox Text1;
  Button Command1[2] = {{"OK(&O)", false}, {"終了(&E)", true}};
  Button Command2{"", true, false};

  MenuItem MnWab{"アドレス帳も保存する(&W)", true};
  MenuItem MnFavo{"お気に入りも保存する(&F)", true};
  MenuItem MnLHA{"Mailファイルの圧縮(&U)"};
  MenuItem MnChSave{"保存先の変更(&C) ..."};
  MenuItem MnOp{"オプション"};
  MenuItem MnEnd{"終了(&E)"};
  MenuItem MnChanger{"Ruvelt 起動 ...", false, false};
  MenuItem MnComp{"Dostrim    起動 ...", false, false};
  MenuItem MnMokuji{"目次(&M) ..."};
  MenuItem MnMail{"作者へ質問,要望(&M)..."};

  // What the OK button and the menus hand over to: the backup run, the restore run, the
  // support mail sheet and ShowOptions. Tests may put their own in.
  std::function<void()> runBackup;
  std::function<void()> runRestore;
  std::function<void()> openOptions;
  std::function<void()> openSupportMail;

 private:
  void FillMainWindowState(MainWindowState& state) const;
  void StartSiblingTool(const std::string& exeName);
  void SaveMenuSwitch(MenuItem& item, Switch which);
  App& app_;
  FormHost& host_;
};

}  // namespace vorn
