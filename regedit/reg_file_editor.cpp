#include "regedit/reg_file_editor.h"

#include "platform/whole_file.h"
#include "regedit/codec/reg_key_name.h"
#include "regedit/reg_editor_command.h"
#include "regedit/reg_export.h"

namespace vorn {
namespace {

RegEditorOutcome Failed(std::string problem) { return RegEditorOutcome{false, std::move(problem), {}}; }

}  // namespace

RegFileEditor::RegFileEditor(RegistryStore& store, FileSystem& files, std::function<RegDialect()> exportDialect)
    : store_(store), files_(files), exportDialect_(std::move(exportDialect)) {}

void RegFileEditor::Run(const std::string& commandLine) {
  auto command = ParseRegEditorCommand(commandLine);
  if (!command) {
    outcome_ = Failed("not a registry editor command: " + commandLine);
  } else if (command->action == RegEditorCommand::Action::Export) {
    outcome_ = Export(command->file, command->key, exportDialect_());
  } else {
    outcome_ = Import(command->file);
  }
}

ScopedImportResult RegFileEditor::RunImportWithin(const std::string& commandLine,
                                                 const std::vector<std::string>& allowedKeys) {
  auto command = ParseRegEditorCommand(commandLine);
  if (!command || command->action != RegEditorCommand::Action::Import) {
    outcome_ = Failed("not a registry editor import: " + commandLine);
  } else {
    const RegImportScope scope{allowedKeys};
    outcome_ = Import(command->file, &scope);
  }
  const RegImportResult& import = outcome_.import;
  return {outcome_.succeeded,
          outcome_.problem,
          import.skippedKeys,
          import.refusedDeletions,
          import.badLine ? import.badLine->line : 0,
          import.refusedChange ? import.refusedChange->line : 0};
}

RegEditorOutcome RegFileEditor::Export(const std::string& file, const std::string& key, RegDialect dialect) {
  auto rooted = ParseRootedKey(key);
  if (!rooted) return Failed("key outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE: " + key);
  // The file names the key as the command gave it, without trailing backslashes.
  std::string keyName = key;
  while (!keyName.empty() && keyName.back() == '\\') keyName.pop_back();
  // A key that does not exist leaves any earlier file untouched, as the platform's editor does.
  auto bytes = ExportRegFile(store_, rooted->root, rooted->path, keyName, dialect);
  if (!bytes) return Failed("no such key: " + key);
  auto output = files_.OpenWrite(file);
  if (!output) return Failed("cannot create " + file);
  bool written = output->Write(bytes->data(), bytes->size());
  if (!output->Close() || !written) return Failed("cannot write " + file);
  return RegEditorOutcome{true, {}, {}};
}

RegEditorOutcome RegFileEditor::Import(const std::string& file, const RegImportScope* scope) {
  auto bytes = ReadWholeFile(files_, file);
  if (!bytes) return Failed("cannot read " + file);
  RegEditorOutcome outcome;
  outcome.import = ImportRegFile(store_, *bytes, scope);
  outcome.succeeded = outcome.import.Clean();
  if (auto fault = outcome.import.badLine ? outcome.import.badLine : outcome.import.refusedChange)
    outcome.problem = file + " line " + std::to_string(fault->line) + ": " + fault->reason;
  return outcome;
}

}  // namespace vorn
