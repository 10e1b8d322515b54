#pragma once
// The Win32 side of a modal form: the modal loop every dialog shares, and the table in which
// each dialog's view registers itself for its form's class, so that the form host can show any
// ModalForm. A new dialog is a form class in ui/ and a view here whose Create makes its window
// with CreateDialogWindow and whose file ends with
//   [[maybe_unused]] const bool kRegistered = RegisterModalView<TheForm, TheFormView>();
// (this library is linked as objects, so such a file is never left out). Every dialog's OK
// button takes IDOK and is its default button; the hourglass shows over it while the program
// is busy.
#include <memory>
#include <string>
#include <typeindex>

#include "platform/win32/windows_api.h"
#include "ui/modal_form.h"

namespace vorn::win32ui {

class ModalView {
 public:
  explicit ModalView(ModalForm& form) : form_(form) {}
  virtual ~ModalView() = default;
  ModalView(const ModalView&) = delete;
  ModalView& operator=(const ModalView&) = delete;

  // Creates the window, loads the form, shows it centred on owner with owner disabled, and
  // returns when a handler has closed the form; owner is active again then, with its focus.
  void RunModal(HWND owner);

 protected:
  // Creates window_ (with CreateTopLevel) and its controls; returns the control that takes the
  // focus first, or null for the first one in tab order once the form is loaded.
  virtual HWND Create(HWND owner) = 0;
  // Brings every control in line with the form's state.
  virtual void Sync() = 0;
  // A message of window_; what it does not handle goes to the default procedure.
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Keys the dialog handles before the dialog manager sees them; true when one was handled.
  virtual bool PreTranslate(const MSG& message) {
    (void)message;
    return false;
  }
  // Creates window_, a captioned dialog window of that class (registered on first use) whose
  // client area is width x height and whose messages go to Handle.
  void CreateDialogWindow(const char* windowClass, const std::string& caption, HWND owner, int width,
                          int height);

  HWND window_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  ModalForm& form_;
};

using ModalViewFactory = std::unique_ptr<ModalView> (*)(ModalForm& form);

bool RegisterModalView(std::type_index formClass, ModalViewFactory factory);
// The registered view for the form's class; null when none is.
std::unique_ptr<ModalView> MakeModalView(ModalForm& form);

template <typename Form, typename View>
bool RegisterModalView() {
  return RegisterModalView(typeid(Form), [](ModalForm& form) -> std::unique_ptr<ModalView> {
    return std::make_unique<View>(static_cast<Form&>(form));
  });
}

}  // namespace vorn::win32ui
