#include "platform/win32/win32_platform.h"

namespace vorn {

Win32Platform::Win32Platform() : Win32Platform(windowsUi) {}

Win32Platform::Win32Platform(UiServices& ui)
    : shell(&ui != &windowsUi),
      registryEditor(registry, files, [this] { return DialectOfSystem(environment); }),
      platform{registry, environment, files, processes, shell, ui, clock, registryEditor, archiver} {}

}  // namespace vorn
