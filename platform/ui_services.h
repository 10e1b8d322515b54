#pragma once
#include <string>

#include "platform/window_handle.h"

namespace vorn {

enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageSpec {
  std::string text;
  std::string title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  bool helpButton = false;
  std::string helpFile;  // full path of the help file the Help button opens
  int helpContext = 0;
  WindowHandle owner = 0;
  bool foreground = false;  // brought to the foreground when shown
  bool operator==(const MessageSpec&) const = default;
};

// Thrown by the EndProgram of the simulated services and of vorn-cli's unattended ones, so that
// tests and the command-line tool can observe the end; the Win32 one ends the process.
struct ProgramEnded {};

class UiServices {
 public:
  virtual ~UiServices() = default;
  virtual MsgAnswer ShowMessage(const MessageSpec& message) = 0;
  virtual void Beep() = 0;
  // Flashes the window's caption three times.
  virtual void Flash(WindowHandle window) = 0;
  virtual void SetWaitCursor(bool on) = 0;
  // Lets pending window events run.
  virtual void DoEvents() = 0;
  // The folder picker; empty text when cancelled or when no file-system folder was picked.
  virtual std::string BrowseForFolder(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                                      unsigned flags) = 0;
  virtual void ShowHelp(WindowHandle owner, const std::string& helpFile, int context) = 0;
  // Ends the program at once.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace vorn
