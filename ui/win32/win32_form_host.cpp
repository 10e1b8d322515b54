#include "ui/win32/win32_form_host.h"

#include "ui/win32/form1_view.h"
#include "ui/win32/modal_view.h"

namespace vorn::win32ui {

Win32FormHost::Win32FormHost() = default;
Win32FormHost::~Win32FormHost() = default;

void Win32FormHost::Show(Form1& form) {
  if (!form1View_) form1View_ = std::make_unique<Form1View>(form);
  form1View_->Show();
}

void Win32FormHost::ShowModal(ModalForm& dialog) {
  std::unique_ptr<ModalView> view = MakeModalView(dialog);
  if (!view) return;  // a dialog whose view was never registered cannot open
  view->RunModal(form1View_ ? form1View_->window() : nullptr);
  Refresh();
}

void Win32FormHost::Refresh() {
  if (form1View_) form1View_->Sync();
}

int Win32FormHost::RunMessageLoop() {
  MSG message;
  for (;;) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      Refresh();
      WaitMessage();
      continue;
    }
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return static_cast<int>(message.wParam);
    HWND main = form1View_ ? form1View_->window() : nullptr;
    if (main && TranslateAcceleratorW(main, form1View_->accelerators(), &message)) continue;
    if (main && IsDialogMessageW(main, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vorn::win32ui
