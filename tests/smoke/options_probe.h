#pragma once
// The probe's commands for the options window (window_probe opt-COMMAND ARGUMENTS... DESKTOP):
//   opt-open          opens it from the main window's menu; prints "open"
//   opt-state         prints its tab, switches, choices, user lists, text boxes and buttons
//   opt-tab N         changes to tab N (0 or 1) with the keyboard on the tab control
//   opt-check N       clicks CheckN          opt-option G I   clicks button I of OptionG
//   opt-combo N I     picks entry I of ComboN
//   opt-image4        double-clicks the window's picture
//   opt-focus         prints the control id of the control with the focus
//   opt-focus-on ID   puts the focus on the control of that id, as the dialog manager does
//   opt-folders       walks the folder tree with the arrow keys and prints each folder
//                     "name|count|size" (the group nodes show nothing)
//   opt-folder NAME   selects that folder and prints its three labels and "convert on/off"
//   opt-refresh       presses 更新(&N) and returns once the scan is over
//   opt-convert       presses 変換(&H) and returns at once
//   opt-progress      prints "shown POS MAX" or "hidden POS MAX" of the progress bar
//   opt-message S     waits up to S seconds for a message box, prints its title and text,
//                     presses its first button
//   opt-close         presses 閉じる(&C); prints "closed" once the window is gone
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace vorn::probe {

// How many arguments of its own the command takes (they come before the desktop).
int OptionsOperands(const std::wstring& command);
// Exit code 2 for a command it does not know, 1 when the window or control is not there.
int RunOptionsCommand(HWND main, const std::wstring& command, const std::vector<std::wstring>& arguments);

}  // namespace vorn::probe
