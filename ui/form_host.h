#pragma once
namespace vorn {

class Form1;
class ModalForm;

// Shows forms on a screen (the Win32 views of ui/win32/) or in tests (scripted). A new dialog
// needs no change here: any ModalForm goes through ShowModal, and the Win32 host finds the
// view registered for the form's class.
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void Show(Form1& form) = 0;
  // Returns when the dialog has closed.
  virtual void ShowModal(ModalForm& dialog) = 0;
};

}  // namespace vorn
