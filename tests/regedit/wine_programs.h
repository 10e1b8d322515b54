#pragma once
// Running the machine's own programs from a Windows test (kept apart from windows.h, whose
// macros rename members such as DeleteFile).
#include <string>

namespace vorn::regtest {

// The TEMP folder, without trailing backslash.
std::string TempFolder();
// Runs a command line and waits up to two minutes; its exit status, or -1 when it did not run or finish.
int RunAndWait(const std::string& commandLine);

}  // namespace vorn::regtest
