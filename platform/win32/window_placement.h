#pragma once
// Where the program's boxes appear: centred on the window that owns them, as a Windows user
// expects, and never beyond the edge of the owner's screen.
#include "platform/win32/windows_api.h"

namespace vorn::win32 {

// Centres window on owner (on the work area without one), kept inside the work area of the
// owner's screen.
void CentreOnOwner(HWND window, HWND owner);

// While one lives, every dialog box this thread opens (message boxes, the shell's questions
// and folder picker) is centred on its owner the first time it becomes active; the system
// would otherwise put it in the middle of the screen.
class CentredBoxes {
 public:
  CentredBoxes();
  ~CentredBoxes();
  CentredBoxes(const CentredBoxes&) = delete;
  CentredBoxes& operator=(const CentredBoxes&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace vorn::win32
