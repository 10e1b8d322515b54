// vorn.exe: the Win32 platform, the Win32 views and the start-up sequence, then the main
// window's message loop.
#include <objbase.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "ui/program.h"
#include "ui/startup.h"
#include "ui/win32/win32_form_host.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Held for the life of the process: a second copy finds it and ends silently.
  const vorn::win32::Handle singleInstance(CreateMutexA(nullptr, FALSE, "Vorn.SingleInstance"));
  const bool anotherCopyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
  // The shell's folder picker needs a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  vorn::Win32Platform windows;
  vorn::win32ui::Win32FormHost host;
  windows.windowsUi.SetAfterEvents([&host] { host.Refresh(); });
  vorn::Program program(windows.platform, host);
  vorn::Main(program, anotherCopyRunning);
  return host.RunMessageLoop();
}
