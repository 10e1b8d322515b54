#include <cstdio>

#include "cli/console.h"
#include "platform/codepage.h"
#include "platform/win32/win32_file_system.h"

namespace vorn::cli {

std::string ArgumentText(const char* argument) { return Cp932ToUtf8(argument); }

void PrintLine(const std::string& utf8) { std::printf("%s\n", Utf8ToCp932(utf8).c_str()); }

void PrintError(const std::string& utf8) { std::fprintf(stderr, "vorn-cli: %s\n", Utf8ToCp932(utf8).c_str()); }

HostFiles::HostFiles() : files_(std::make_unique<Win32FileSystem>()) {}

HostFiles::~HostFiles() = default;

std::string HostFiles::ProgramPath(const std::string& argument) const { return argument; }

}  // namespace vorn::cli
