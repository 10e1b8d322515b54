#include "platform/sim/sim_ui_services.h"

namespace vorn {
namespace {
MsgAnswer FirstButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
      return MsgAnswer::Retry;
    default:
      return MsgAnswer::Ok;
  }
}
}  // namespace

MsgAnswer SimUiServices::ShowMessage(const MessageSpec& message) {
  messages.push_back(message);
  DoEvents();
  if (answers.empty()) return FirstButton(message.buttons);
  MsgAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

void SimUiServices::DoEvents() {
  ++eventsLetRun;
  while (!pendingEvents.empty()) {
    auto event = std::move(pendingEvents.front());
    pendingEvents.pop_front();
    event();
  }
}

std::string SimUiServices::BrowseForFolder(WindowHandle owner, const std::string& title,
                                           const std::string& initialFolder, unsigned flags) {
  folderRequests.push_back({owner, title, initialFolder, flags});
  DoEvents();
  if (pickedFolders.empty()) return {};
  std::string picked = pickedFolders.front();
  pickedFolders.pop_front();
  return picked;
}

void SimUiServices::ShowHelp(WindowHandle, const std::string& helpFile, int context) {
  helpShown.push_back({helpFile, context});
}

void SimUiServices::EndProgram() {
  ended = true;
  throw ProgramEnded{};
}

}  // namespace vorn
