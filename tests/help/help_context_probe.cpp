// help_context_probe SOURCE-ROOT HELP-FILE: asks the help viewer for every help context the
// program's code names, through the program's own help service, and marks each request on
// standard error, where the viewer's trace goes too, so the trace can be read per context.
#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_ui_services.h"
#include "tests/help/help_context_names.h"

namespace {

constexpr UINT kCloseAll = 0x0012;  // HH_CLOSE_ALL

// Each request gets a viewer of its own: one that is open already would load the next page
// only from its message loop, which this probe does not run.
void CloseViewers() {
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  HMODULE viewer = GetModuleHandleW(L"hhctrl.ocx");
  if (auto htmlHelp = viewer ? reinterpret_cast<HtmlHelpFunction>(
                                   reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpW")))
                             : nullptr)
    htmlHelp(nullptr, nullptr, kCloseAll, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: help_context_probe SOURCE-ROOT HELP-FILE\n");
    return 2;
  }
  const auto contexts = vorn::test::CodeHelpContexts(argv[1]);
  vorn::Win32UiServices ui;
  for (const auto& [name, context] : contexts) {
    std::fprintf(stderr, "help-probe: context %d\n", context);
    std::fflush(stderr);
    ui.ShowHelp(0, argv[2], context);
    CloseViewers();
  }
  std::fprintf(stderr, "help-probe: done\n");
  return contexts.empty() ? 1 : 0;
}
