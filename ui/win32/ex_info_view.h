#pragma once
// The backup information dialog on screen, shown modally over its owner; its size follows the
// form's (normal or detailed), the details panel lying below the normal height.
#include "platform/win32/windows_api.h"
#include "ui/ex_info.h"
#include "ui/win32/modal_view.h"

namespace vorn::win32ui {

class ExInfoView : public ModalView {
 public:
  explicit ExInfoView(ExInfo& dialog);

 private:
  HWND Create(HWND owner) override;
  void Sync() override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  ExInfo& dialog_;
  HWND fields_[ExInfo::kFieldCount] = {};
  HWND label3_ = nullptr;
  HWND command1_[2] = {};
};

}  // namespace vorn::win32ui
