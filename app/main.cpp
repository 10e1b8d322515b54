// vorn.exe: the Win32 platform, the Win32 views and the start-up sequence, then the main
// window's message loop.
#include <objbase.h>

#include "backup/backup_run.h"
#include "core/app.h"
#include "core/startup.h"
#include "regedit/reg_file_editor.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui_services.h"
#include "platform/win32/windows_api.h"
#include "ui/win32/win32_form_host.h"

#include <commctrl.h>

namespace {

// Held for the life of the process: a second copy finds it and ends silently.
bool AnotherCopyRunning() {
  CreateMutexW(nullptr, FALSE, L"Vorn.SingleInstance");
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const bool anotherCopyRunning = AnotherCopyRunning();
  // The shell's folder picker needs a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  vorn::Win32RegistryStore registry;
  vorn::Win32Environment environment;
  vorn::Win32FileSystem files;
  vorn::Win32Processes processes;
  vorn::Win32Shell shell;
  vorn::Win32UiServices ui;
  vorn::Win32Clock clock;
  const vorn::App* running = nullptr;
  // Exports follow the running family, known once start-up has looked.
  vorn::RegFileEditor registryEditor(registry, files, [&running] {
    return vorn::DialectForOsFamily(running ? running->env.osFamily : vorn::kFamilyNt);
  });
  vorn::Win32Archiver archiver;
  vorn::Platform platform{registry, environment, files, processes, shell, ui, clock, registryEditor, archiver};
  vorn::win32ui::Win32FormHost host;
  ui.SetAfterEvents([&host] { host.Refresh(); });
  vorn::App app(platform, host);
  vorn::InstallBackup(app);
  running = &app;
  vorn::Main(app, anotherCopyRunning);
  return host.RunMessageLoop();
}
