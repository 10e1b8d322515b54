#pragma once
// The program's own registry editor: runs the export and import command texts against a
// registry store and a file system, writing and reading .reg files itself.
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "regedit/reg_dialect.h"
#include "regedit/reg_import.h"
#include "platform/registry_editor.h"
#include "platform/registry_store.h"

namespace vorn {

struct RegEditorOutcome {
  bool succeeded = false;
  std::string problem;  // why not, for a failed run
  RegImportResult import;  // an import's report, with its first bad line
};

class RegFileEditor : public RegistryEditor {
 public:
  // exportDialect is asked at every export, so it follows the running family once known.
  RegFileEditor(RegistryStore& store, FileSystem& files, std::function<RegDialect()> exportDialect);

  void Run(const std::string& commandLine) override;
  ScopedImportResult RunImportWithin(const std::string& commandLine,
                                     const std::vector<std::string>& allowedKeys) override;
  // What the last Run did; callers of the interface see only the file or the registry.
  const RegEditorOutcome& LastOutcome() const { return outcome_; }

  // The two actions, for callers that already hold file and key apart.
  RegEditorOutcome Export(const std::string& file, const std::string& key, RegDialect dialect);
  RegEditorOutcome Import(const std::string& file, const RegImportScope* scope = nullptr);

 private:
  RegistryStore& store_;
  FileSystem& files_;
  std::function<RegDialect()> exportDialect_;
  RegEditorOutcome outcome_;
};

}  // namespace vorn
