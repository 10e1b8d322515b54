#pragma once
namespace vorn {

class Form1;
class FrmBkpth;

// Shows forms on a screen (Win32 views) or in tests (scripted).
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void Show(Form1& form) = 0;
  // Returns when the dialog has closed.
  virtual void ShowModal(FrmBkpth& dialog) = 0;
};

}  // namespace vorn
