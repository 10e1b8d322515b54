#pragma once
// The backup destination dialog: the desktop default or a folder the user picks, in which
// a "Vorn_bkup" folder receives the backup sets.
#include "ui/controls.h"
#include "ui/modal_form.h"

namespace vorn {

class App;

class FrmBkpth : public ModalForm {
 public:
  explicit FrmBkpth(App& app);

  void Form_Load() override;
  void Option1_Click(int index);
  void CmdBrowse_Click();
  void CmdOk_Click();
  void CmdCancel_Click();

  static constexpr int kDesktop = 0;
  static constexpr int kOther = 1;

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
