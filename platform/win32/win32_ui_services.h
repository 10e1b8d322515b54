#pragma once
#include <functional>

#include "platform/ui_services.h"

namespace vorn {

class Win32UiServices : public UiServices {
 public:
  MsgAnswer ShowMessage(const MessageSpec& message) override;
  void Beep() override;
  void Flash(WindowHandle window) override;
  void SetWaitCursor(bool on) override;
  void DoEvents() override;
  std::string BrowseForFolder(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                              unsigned flags) override;
  void ShowHelp(WindowHandle owner, const std::string& helpFile, int context) override;
  [[noreturn]] void EndProgram() override;

  // True while the hourglass is on; the program's windows keep it over their own cursors.
  static bool WaitCursorShown();
  // Called after DoEvents has let the pending events run, so the windows can show what a
  // long run has changed so far.
  void SetAfterEvents(std::function<void()> afterEvents) { afterEvents_ = std::move(afterEvents); }

 private:
  std::function<void()> afterEvents_;
};

}  // namespace vorn
