#include "cli/unattended_ui.h"

#include <ostream>

namespace vorn::cli {

MsgAnswer UnattendedUi::ShowMessage(const MessageSpec& message) {
  messages_ << message.title << ": ";
  for (char c : message.text) {
    if (c != '\r') messages_ << c;
  }
  messages_ << "\n";
  if (affirmative_) return message.buttons == MsgButtons::YesNo || message.buttons == MsgButtons::YesNoCancel
                              ? MsgAnswer::Yes
                              : MsgAnswer::Ok;
  switch (message.buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::RetryCancel:
      return MsgAnswer::Cancel;
    default:
      return MsgAnswer::Ok;
  }
}

}  // namespace vorn::cli
