#pragma once
// The main window on screen: draws Form1's state and hands its events to Form1's handlers.
#include "platform/win32/windows_api.h"
#include "ui/form1.h"

namespace vorn::win32ui {

class Form1View {
 public:
  explicit Form1View(Form1& form);
  Form1View(const Form1View&) = delete;
  Form1View& operator=(const Form1View&) = delete;

  void Show();
  // Brings every control in line with the form's state.
  void Sync();
  HWND window() const { return window_; }
  HACCEL accelerators() const { return accelerators_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  HMENU CreateMenuBar();
  void OnCommand(int id, int code);

  Form1& form_;
  HWND window_ = nullptr;
  HWND list1_ = nullptr;
  HWND text1_ = nullptr;
  HWND image1_ = nullptr;
  HWND command1_[2] = {};
  HWND option1_[3] = {};  // index 0 (no mode) has no control
  HMENU menuBar_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

}  // namespace vorn::win32ui
