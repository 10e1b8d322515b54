#pragma once
// The Win32 platform, assembled in one place for every Windows program of ours (vorn.exe,
// vorn-cli, demo_setup): the Win32 services, the program's own registry editor over the real
// registry, writing the dialect of the running system, and the archiver library's loader.
#include "platform/platform.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_ui_services.h"
#include "regedit/reg_file_editor.h"

namespace vorn {

class Win32Platform {
 public:
  // With the Win32 user-interface services: message boxes, the folder picker, and the shell's
  // own progress, questions and error boxes.
  Win32Platform();
  // With other user-interface services (vorn-cli's, which show no window); the shell then works
  // without any window or question either.
  explicit Win32Platform(UiServices& ui);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Win32RegistryStore registry;
  Win32Environment environment;
  Win32FileSystem files;
  Win32Processes processes;
  Win32Shell shell;
  Win32UiServices windowsUi;
  Win32Clock clock;
  RegFileEditor registryEditor;
  Win32Archiver archiver;
  Platform platform;
};

}  // namespace vorn
