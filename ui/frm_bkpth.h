#pragma once
// The backup destination dialog: the desktop default or a folder the user picks, in which
// a "Vorn_bkup" folder receives the backup sets.
#include "platform/window_handle.h"
#include "ui/controls.h"

namespace vorn {

class App;

class FrmBkpth {
 public:
  explicit FrmBkpth(App& app);

  void Form_Load();
  void Option1_Click(int index);
  void CmdBrowse_Click();
  void CmdOk_Click();
  void CmdCancel_Click();

  static constexpr int kDesktop = 0;
  static constexpr int kOther = 1;

  std::string caption = "Vorn - 保存先の変更 ...";
  WindowHandle hwnd = 0;
  bool closed = false;
  OptionGroup Option1{{"\\ﾃﾞｽｸﾄｯﾌﾟ\\Vorn_bkup", "その他 ..."}, kDesktop};
  TextBox Text1;
  Button CmdBrowse{"参照 ..."};
  Button CmdOk{"OK(&O)"};
  Button CmdCancel{"キャンセル"};

 private:
  void UseDesktopDefault();
  App& app_;
};

}  // namespace vorn
