#pragma once
// The support mail sheet on screen, modal over the main window; on the 2000 family a layered
// window whose translucency follows the sheet's fade.
#include "platform/win32/windows_api.h"
#include "ui/mailme.h"
#include "ui/win32/modal_view.h"

namespace vorn::win32ui {

class MailmeView : public ModalView {
 public:
  explicit MailmeView(Mailme& sheet);

 private:
  HWND Create(HWND owner) override;
  void Sync() override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SyncFade();
  void OnCommand(int id, int code);

  Mailme& sheet_;
  HWND option1_[4] = {};
  HWND command1_[2] = {};
  bool timerRunning_ = false;
  int alphaShown_ = -1;  // the alpha last given to the window; -1 before the first
};

}  // namespace vorn::win32ui
