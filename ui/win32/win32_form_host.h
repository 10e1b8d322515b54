#pragma once
// Shows the program's forms as Win32 windows and runs the main window's message loop.
#include <memory>

#include "ui/form_host.h"

namespace vorn::win32ui {

class Form1View;

class Win32FormHost : public FormHost {
 public:
  Win32FormHost();
  ~Win32FormHost() override;

  void Show(Form1& form) override;
  // Shows the dialog through the view registered for its class (see modal_view.h).
  void ShowModal(ModalForm& dialog) override;
  // Runs until the program ends; whenever the queue runs dry the main window is brought in
  // line with its form, so state changed outside an event (at start-up, by a long run) shows.
  int RunMessageLoop();
  // Brings the main window in line with its form now.
  void Refresh();

 private:
  std::unique_ptr<Form1View> form1View_;
};

}  // namespace vorn::win32ui
