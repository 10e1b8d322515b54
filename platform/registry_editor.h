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
  std::vector<std::string> refusedDeletions;  // deletions within the scope, never carried out
  int badLine = 0;      // a line that could not be read: nothing of the file was applied
  int refusedLine = 0;  // the first change the registry refused
};

class RegistryEditor {
 public:
  virtual ~RegistryEditor() = default;
  virtual void Run(const std::string& commandLine) = 0;
  // An import command that applies only the keys within allowedKeys (full key names, each with
  // its subkeys) and passes over every other key of the file; it deletes nothing. A file with a
  // line it cannot read is not applied at all.
  virtual ScopedImportResult RunImportWithin(const std::string& commandLine,
                                             const std::vector<std::string>& allowedKeys) = 0;
};

}  // namespace vorn
