#pragma once
// Symbolic links made from outside the program, for tests of the Win32 services under Wine.
#include <string>

namespace vorn {

// Makes `link` (a Windows path) a link to the existing `target`; false when that failed.
bool MakeWineLink(const std::string& link, const std::string& target);
// Removes such a link, while its target still exists.
void RemoveWineLink(const std::string& link);

}  // namespace vorn
