#pragma once
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui_services.h"

namespace vorn {

// Records everything shown and answers from a script. An unscripted question gets its first
// button (OK or Yes). EndProgram throws ProgramEnded. A message box and the folder picker let
// the queued events run as DoEvents does: each runs a message loop of its own.
class SimUiServices : public UiServices {
 public:
  MsgAnswer ShowMessage(const MessageSpec& message) override;
  void Beep() override { ++beeps; }
  void Flash(WindowHandle window) override { flashed.push_back(window); }
  void SetWaitCursor(bool on) override { waitCursor.push_back(on); }
  void DoEvents() override;
  std::string BrowseForFolder(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                              unsigned flags) override;
  void ShowHelp(WindowHandle owner, const std::string& helpFile, int context) override;
  [[noreturn]] void EndProgram() override;

  struct FolderRequest {
    WindowHandle owner;
    std::string title;
    std::string initialFolder;
    unsigned flags;
    bool operator==(const FolderRequest&) const = default;
  };
  struct HelpRequest {
    std::string helpFile;
    int context;
    bool operator==(const HelpRequest&) const = default;
  };

  std::deque<MsgAnswer> answers;         // next answers to questions
  std::deque<std::string> pickedFolders;  // next folder picker results ("" = cancel)
  // Events the user caused meanwhile (clicks, keys), run by the next DoEvents in their order.
  std::deque<std::function<void()>> pendingEvents;
  std::vector<MessageSpec> messages;
  std::vector<FolderRequest> folderRequests;
  std::vector<HelpRequest> helpShown;
  std::vector<WindowHandle> flashed;
  std::vector<bool> waitCursor;
  int beeps = 0;
  int eventsLetRun = 0;
  bool ended = false;
};

}  // namespace vorn
