#pragma once
// The backup information dialog on screen, shown modally over its owner; its size follows the
// form's (normal or detailed), the details panel lying below the normal height.
#include "platform/win32/windows_api.h"
#include "ui/ex_info.h"

namespace vorn::win32ui {

class ExInfoView {
 public:
  explicit ExInfoView(ExInfo& dialog);
  ExInfoView(const ExInfoView&) = delete;
  ExInfoView& operator=(const ExInfoView&) = delete;

  // Loads the dialog, shows it and returns when it has closed.
  void RunModal(HWND owner);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner);
  void Sync();

  ExInfo& dialog_;
  HWND window_ = nullptr;
  HWND fields_[ExInfo::kFieldCount] = {};
  HWND label3_ = nullptr;
  HWND command1_[2] = {};
};

}  // namespace vorn::win32ui
