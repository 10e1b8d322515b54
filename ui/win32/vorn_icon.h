#pragma once
// Vorn's icon, the main window's picture: a closed envelope on blue. It is kept in
// ui/win32/vorn.ico (drawn by scripts/draw-icon.sh) and built into the program as data.
#include "platform/win32/windows_api.h"

namespace vorn::win32ui {

// The icon at size x size pixels (the image of that size in the file, or the largest one
// scaled); made once per size and kept for the life of the process.
HICON VornIcon(int size);

}  // namespace vorn::win32ui
