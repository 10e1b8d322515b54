// unlha32.dll: the archiver library's one entry, Unlha, over the local file system.
// The command line and the messages are ANSI text in code page 932.
#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "lha/unlha.h"
#include "lha/unlha_command.h"
#include "lha/unlha_result.h"
#include "lha/unlha32/progress_window.h"
#include "lha/unlha32/unlha32.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"

namespace {

// Copies text into a buffer of size bytes, NUL included, without splitting a double-byte character.
void CopyOut(const std::string& cp932, char* buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return;
  size_t n = 0;
  while (n < cp932.size()) {
    size_t step = IsDBCSLeadByteEx(932, static_cast<BYTE>(cp932[n])) && n + 1 < cp932.size() ? 2 : 1;
    if (n + step > size - 1) break;
    n += step;
  }
  std::memcpy(buffer, cp932.data(), n);
  buffer[n] = '\0';
}

// The progress window's caption for the command's verb.
std::string CaptionFor(const std::string& line) {
  auto command = vorn::unlha::ParseCommand(line);
  return command && command->verb == 'a' ? "Vorn - 圧縮中..." : "Vorn - 解凍中...";
}

}  // namespace

int WINAPI Unlha(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize) {
  if (commandLine == nullptr) return vorn::unlha::kBadCommand;
  vorn::Win32FileSystem files;
  const std::string line = vorn::Cp932ToUtf8(commandLine);
  vorn::ProgressWindow progressWindow(window, window ? CaptionFor(line) : std::string());
  auto progress = [&](const std::string& member, uint64_t done, uint64_t total) {
    progressWindow.Update(member, done, total);
    return true;
  };
  std::string messages;
  int result = vorn::unlha::RunCommand(files, line, &messages, outputSize == 0 ? 0 : UINT32_MAX, progress);
  CopyOut(vorn::Utf8ToCp932(messages), output, outputSize);
  return result;
}
