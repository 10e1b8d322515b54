#pragma once
#include <string>
#include <vector>

namespace vorn {

// The registry editor, driven by its command texts:
//   "Regedit.exe /e FILE KEY"   export KEY (bare or in double quotes) with all subkeys to FILE
//   "regedit.exe /s \"FILE\""   import FILE silently
// Returns when the export file is complete or the import applied.
class RegistryEditor {
 public:
  virtual ~RegistryEditor() = default;
  virtual void Run(const std::string& commandLine) = 0;
  // An import command that applies only the keys within allowedKeys (full key names, each with
  // its subkeys). Returns the keys of the file it skipped, as the file names them.
  virtual std::vector<std::string> RunImportWithin(const std::string& commandLine,
                                                   const std::vector<std::string>& allowedKeys) = 0;
};

}  // namespace vorn
