#pragma once
#include <string>
#include <vector>

namespace vorn {

// The registry editor, driven by its command texts:
//   "Regedit.exe /e FILE KEY"   export KEY (bare or in double quotes) with all subkeys to FILE
//   "regedit.exe /s \"FILE\""   import FILE silently
// Returns when the export file is complete or the import applied.

struct ScopedImportResult {
  bool complete = false;  // the whole file was read and every change in scope applied
  std::string problem;    // why not
  std::vector<std::string> skippedKeys;  // keys outside the scope, as the file names them
};

class RegistryEditor {
 public:
  virtual ~RegistryEditor() = default;
  virtual void Run(const std::string& commandLine) = 0;
  // An import command that applies only the keys within allowedKeys (full key names, each with
  // its subkeys) and passes over every other key of the file.
  virtual ScopedImportResult RunImportWithin(const std::string& commandLine,
                                             const std::vector<std::string>& allowedKeys) = 0;
};

}  // namespace vorn
