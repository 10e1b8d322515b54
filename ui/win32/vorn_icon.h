#pragma once
// Vorn's icon, the main window's picture: a closed envelope on blue. The program file's icon
// (app/vorn.ico) is built into the views as data as well, so that any window, also one made
// by a test program without that resource, shows the same picture.
#include "platform/win32/windows_api.h"

namespace vorn::win32ui {

// The icon at size x size pixels (the image of that size in the file with the most colours, or
// the largest one scaled); made once per size and kept for the life of the process.
HICON VornIcon(int size);

}  // namespace vorn::win32ui
