#pragma once
// Moves the address book file to a folder the user picks and points the address book at it.
#include <string>

#include "core/run_context.h"

namespace vorn {

inline constexpr const char* kWabFileNameKey = "Software\\Microsoft\\WAB\\WAB4\\Wab File Name";

// The options window's "参照 ..." of the address book. `shownPath` is the window's address book
// text box: it shows the target while the move runs and the path in effect when it ends. The
// address book is copied, checked and only then made the one in use; the old file goes last.
// Any failure leaves the old file and the old registry value, and says so.
void RelocateAddressBook(RunContext& context, std::string& shownPath);

}  // namespace vorn
