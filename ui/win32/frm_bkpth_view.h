#pragma once
// The backup destination dialog on screen, shown modally over its owner.
#include "platform/win32/windows_api.h"
#include "ui/frm_bkpth.h"
#include "ui/win32/modal_view.h"

namespace vorn::win32ui {

class FrmBkpthView : public ModalView {
 public:
  explicit FrmBkpthView(FrmBkpth& dialog);

 private:
  HWND Create(HWND owner) override;
  void Sync() override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code);

  FrmBkpth& dialog_;
  HWND option1_[2] = {};
  HWND text1_ = nullptr;
  HWND browse_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
};

}  // namespace vorn::win32ui
