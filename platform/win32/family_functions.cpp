#include "platform/win32/family_functions.h"

namespace vorn::win32 {
namespace {

bool ReportsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

template <typename Function>
bool Find(const char* library, const char* name, Function& function) {
  HMODULE module = LoadLibraryA(library);  // kept for the life of the process
  if (module) function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

struct Family {
  NtFunctions functions;
  bool nt = false;
};

// A system of the 2000 family that lacked one of the functions would take the 98 family's paths.
Family Chosen() {
  Family family;
  if (!ReportsNtFamily()) return family;
  NtFunctions found;
  bool all = true;
#define VORN_NT_FIND(library, name) all = Find(#library ".dll", #name, found.name) && all;
  VORN_NT_FUNCTIONS(VORN_NT_FIND)
#undef VORN_NT_FIND
  if (all) family = {found, true};
  return family;
}

const Family& TheFamily() {
  static const Family family = Chosen();
  return family;
}

}  // namespace

bool IsNtFamily() { return TheFamily().nt; }

const NtFunctions& Nt() { return TheFamily().functions; }

}  // namespace vorn::win32

#ifndef _WIN64
namespace {

// The runtime (libgcc's locks, for exceptions and thread-local data; the C runtime's look-ups of
// later msvcrt.dll functions) calls a few wide functions that the 98 family has only as stubs
// that fail. These take the system's place for the whole program: the runtime's calls reach
// them through the import pointers defined below, which the linker then no longer takes from
// kernel32. The names they get are ASCII or none.
std::string AnsiName(LPCWSTR name) { return vorn::win32::Ansi(vorn::Narrow(name)); }

HANDLE WINAPI RuntimeCreateSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum, LPCWSTR name) {
  return CreateSemaphoreA(attributes, initial, maximum, name ? AnsiName(name).c_str() : nullptr);
}

HMODULE WINAPI RuntimeGetModuleHandle(LPCWSTR name) {
  return GetModuleHandleA(name ? AnsiName(name).c_str() : nullptr);
}

HMODULE WINAPI RuntimeLoadLibrary(LPCWSTR name) { return LoadLibraryA(AnsiName(name).c_str()); }

}  // namespace

#define VORN_RUNTIME_IMPORT(function, symbol)                                 \
  extern "C" decltype(&function) const function##Import __asm__(symbol); \
  extern "C" decltype(&function) const function##Import = function;
VORN_RUNTIME_IMPORT(RuntimeCreateSemaphore, "__imp__CreateSemaphoreW@16")
VORN_RUNTIME_IMPORT(RuntimeGetModuleHandle, "__imp__GetModuleHandleW@4")
VORN_RUNTIME_IMPORT(RuntimeLoadLibrary, "__imp__LoadLibraryW@4")
#undef VORN_RUNTIME_IMPORT
#endif
