#include "platform/win32/win32_processes.h"

#include "platform/win32/windows_api.h"
#include <tlhelp32.h>

#include "platform/win32/family_functions.h"
#include "platform/win32/win32_handles.h"

namespace vorn {
namespace {

WORD ShowCommand(WindowStyle style) {
  switch (style) {
    case WindowStyle::Minimized:
      return SW_SHOWMINNOACTIVE;
    case WindowStyle::Hidden:
      return SW_HIDE;
    case WindowStyle::Normal:
      break;
  }
  return SW_SHOWNORMAL;
}

// A command line that is just the path of an existing program is quoted: unquoted, a path
// with blanks ("C:\Program Files\...") would first be tried as "C:\Program.exe".
std::string CommandText(const std::string& commandLine) {
  DWORD attributes = win32::WithPath(win32::Nt().GetFileAttributesW, GetFileAttributesA, commandLine);
  if (commandLine.find(' ') != std::string::npos && attributes != INVALID_FILE_ATTRIBUTES &&
      !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return "\"" + commandLine + "\"";
  return commandLine;
}

template <typename StartupInfo>
StartupInfo StartupOf(WindowStyle style) {
  StartupInfo startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowCommand(style);
  return startup;
}

// The started process; no handle when it could not be started.
win32::Handle Launch(const std::string& commandLine, WindowStyle style) {
  PROCESS_INFORMATION process{};
  BOOL started;
  if (win32::IsNtFamily()) {
    std::wstring command = Wide(CommandText(commandLine));  // CreateProcessW may write into it
    STARTUPINFOW startup = StartupOf<STARTUPINFOW>(style);
    started = win32::Nt().CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                         &startup, &process);
  } else {
    std::string command = win32::Ansi(CommandText(commandLine));
    STARTUPINFOA startup = StartupOf<STARTUPINFOA>(style);
    started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  }
  if (!started) return {};
  win32::Handle(process.hThread).Close();  // only the process is waited for
  return win32::Handle(process.hProcess);
}

}  // namespace

std::optional<std::vector<std::string>> Win32Processes::Snapshot() const {
  win32::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<std::string> names;
  if (win32::IsNtFamily()) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = win32::Nt().Process32FirstW(snapshot.get(), &entry); more;
         more = win32::Nt().Process32NextW(snapshot.get(), &entry))
      names.push_back(NarrowZ(entry.szExeFile));
    return names;
  }
  // The 98 family names each process by the full path of its program file.
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    const std::string path = win32::FromAnsi(entry.szExeFile);
    names.push_back(path.substr(path.find_last_of('\\') + 1));
  }
  return names;
}

bool Win32Processes::Start(const std::string& commandLine, WindowStyle style) {
  return static_cast<bool>(Launch(commandLine, style));
}

std::optional<int> Win32Processes::RunAndWait(const std::string& commandLine, WindowStyle style) {
  win32::Handle process = Launch(commandLine, style);
  if (!process) return std::nullopt;
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.get(), &exitCode)) return std::nullopt;
  return static_cast<int>(exitCode);
}

}  // namespace vorn
