#pragma once
#include <string>

namespace vorn {

// The registry editor, driven by its command texts:
//   "Regedit.exe /e FILE KEY"   export KEY (bare or in double quotes) with all subkeys to FILE
//   "regedit.exe /s \"FILE\""   import FILE silently
// Returns when the export file is complete or the import applied.
class RegistryEditor {
 public:
  virtual ~RegistryEditor() = default;
  virtual void Run(const std::string& commandLine) = 0;
};

}  // namespace vorn
