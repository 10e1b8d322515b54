#pragma once
// The backup destination dialog on screen, shown modally over its owner.
#include "platform/win32/windows_api.h"
#include "ui/frm_bkpth.h"

namespace vorn::win32ui {

class FrmBkpthView {
 public:
  explicit FrmBkpthView(FrmBkpth& dialog);
  FrmBkpthView(const FrmBkpthView&) = delete;
  FrmBkpthView& operator=(const FrmBkpthView&) = delete;

  // Loads the dialog, shows it and returns when it has closed.
  void RunModal(HWND owner);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner);
  void Sync();
  void OnCommand(int id, int code);

  FrmBkpth& dialog_;
  HWND window_ = nullptr;
  HWND option1_[2] = {};
  HWND text1_ = nullptr;
  HWND browse_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
};

}  // namespace vorn::win32ui
