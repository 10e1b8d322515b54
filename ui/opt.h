#pragma once
// The options window "オプション": on its first tab the program's switches, two Outlook Express
// options of a chosen user and the maintenance tools; on its second the chosen user's mail
// folders as a tree, the folder scan ("更新(&N)") and the extraction of a folder ("変換(&H)").
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/help_contexts.h"
#include "core/run_context.h"
#include "core/run_guard.h"
#include "dbx/folder_scan.h"
#include "ui/controls.h"
#include "ui/modal_form.h"

namespace vorn {

class App;
class Form1;

class Opt : public ModalForm {
 public:
  // The window's user lists are those of the main window, whose menus it reloads.
  Opt(App& app, Form1& mainWindow);

  void Form_Load() override;
  // The window's size changed, as when it is first shown.
  void Form_Resize();
  void SSTab1_Click(int tab);
  // A check box's handler stores the state the box shows.
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  void Option1_Click(int index);
  void Option2_Click(int index);
  void Option3_Click(int index);
  void Combo1_Click(int index);
  void Combo2_Click(int index);
  void Command1_Click();
  void Command4_Click();
  void Command5_Click();
  void Command8_Click(int index);
  void Command9_Click();
  void Command10_Click();
  void Image4_DblClick();
  void TreeView1_NodeClick(int node);

  // The procedures behind the handlers, by their names.
  void ReadOeOptions();
  void dbxlist();
  void UserPth();
  void ScanMailFolders();
  void DelDBX();
  void cnvF1();
  void ShowFolderInfo();

  static constexpr int kSettingsTab = 0;
  static constexpr int kMailStoreTab = 1;
  static constexpr int kClose = 2;
  static constexpr int kHelp = 3;
  static constexpr int kMailStoreClose = 4;
  static constexpr int kMailStoreHelp = 5;
  static constexpr int kHelpTopicSettings = help::IDH_OPTIONS;
  static constexpr int kHelpTopicMailStore = help::IDH_MAIL_TOOLS;

  TabStrip SSTab1{{"Vorn / OE の設定", "メール フォルダ"}};
  // First tab.
  CheckBox Check1{"バックアップ完了時に、バックアップ フォルダを開く(&O)"};
  CheckBox Check5{"ダイヤルアップ接続の設定を保存する(&D)"};
  CheckBox Check2{"98/Me ⇔ 2000/XP リストア時、確認メッセージ表示(&M)"};
  OptionGroup Option3{{"全ての ユーザー", "メイン ユーザー 限定"}};
  CheckBox Check3{"&IEの機能で お気に入りを保存( html 形式 )"};
  CheckBox Check4{"お気に入りの並び順を保存する(&R)", false, true, false};
  ComboBox Combo2;
  Button Command9{"OEの一時ファイルを削除する"};
  OptionGroup Option1{{"画像の表示なし", "画像を縦に連結して表示", "スライドショーで表示"}};
  OptionGroup Option2{{"表示", "非表示"}};
  TextBox Text3;
  Button Command4{"参照 ..."};
  TextBox Text5;
  Button Command10{"参照 ..."};
  Button Command8[6] = {{}, {}, {"閉じる(&C)"}, {"ヘルプ"}, {"閉じる(&C)"}, {"ヘルプ"}};
  // Second tab.
  ComboBox Combo1;
  TextBox Text1;  // the chosen user's Store Root
  TreeView TreeView1;
  Button Command1{"更新(&N)", false};
  Button Command5{"変換(&H)", false};
  Label Label6[3];  // the clicked folder's name, message count and size
  Label Label7{"更新中...", false};
  ProgressBar ProgressBar1;

  // A scan or an extraction is under way: the window greys its controls but keeps showing its state.
  bool working = false;
  // A run is under way (a scan, an extraction, a maintenance tool): the window takes no input.
  bool Busy() const;
  // Set by the view: shows the state now (progress bar, labels) while a handler still runs.
  std::function<void()> showNow;

  int oeMajorVersion = 0;
  std::vector<std::string> candidateFiles;  // the scan's candidate list
  FolderScanLists folderLists;              // the news and mail folder lists
  bool rescanNeeded = false;
  std::string file1Folder;  // the folder the scan lists, the Store Root shown

 private:
  class Progress;
  RunContext Context();
  // The identity subkey of an entry of the user lists.
  std::string IdentityAt(int index) const;
  void SaveCheck(const CheckBox& box, Switch which, int16_t& setting);
  void ClearFolderLabels();
  void AddScannedNodes(bool userFolders);
  // Lets the window show what changed, at most every few hundredths of a second unless `now`.
  void LetEventsRun(bool now);
  // The guard of the window's own scan or extraction: the hourglass, and the controls greyed.
  RunGuard Working();

  App& app_;
  Form1& mainWindow_;
  std::chrono::steady_clock::time_point lastEvents_{};
};

}  // namespace vorn
