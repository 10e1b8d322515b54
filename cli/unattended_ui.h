#pragma once
// User-interface services for a run without windows (scheduled or scripted): messages go to a
// stream, every question gets its negative answer (or, once told so, its first one: OK or Yes),
// the folder picker picks the folder it was given, and the end of the program is thrown as
// ProgramEnded for the caller to turn into an exit status.
#include <iosfwd>
#include <string>

#include "platform/ui_services.h"
#include "ui/form_host.h"

namespace vorn::cli {

class UnattendedUi : public UiServices {
 public:
  explicit UnattendedUi(std::ostream& messages) : messages_(messages) {}
  // From now on every question is answered OK or Yes, and the folder picker returns folder.
  void AnswerYes(std::string folder) {
    affirmative_ = true;
    pickedFolder_ = std::move(folder);
  }
  MsgAnswer ShowMessage(const MessageSpec& message) override;
  void Beep() override {}
  void Flash(WindowHandle) override {}
  void SetWaitCursor(bool) override {}
  void DoEvents() override {}
  std::string BrowseForFolder(WindowHandle, const std::string&, const std::string&, unsigned) override {
    return pickedFolder_;
  }
  void ShowHelp(WindowHandle, const std::string&, int) override {}
  [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

 private:
  std::ostream& messages_;
  bool affirmative_ = false;
  std::string pickedFolder_;
};

// Shows no form; a dialog that would open closes at once.
class NoFormHost : public FormHost {
 public:
  void Show(Form1&) override {}
  void ShowModal(ModalForm&) override {}
};

}  // namespace vorn::cli
