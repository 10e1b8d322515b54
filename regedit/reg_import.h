#pragma once
// Import of .reg file bytes of either dialect into a registry store.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"

namespace vorn {

struct RegFileFault {
  int line = 0;  // 1-based line of the file
  std::string reason;
  bool operator==(const RegFileFault&) const = default;
};

struct RegImportResult {
  // The first line that could not be read; nothing of the file was applied then.
  std::optional<RegFileFault> badLine;
  // The first change the registry refused (a key without write access); the import went on.
  std::optional<RegFileFault> refusedChange;
  // Keys outside the import's scope, as the file names them, each once, in file order; nothing
  // of them (values, deletions) was applied.
  std::vector<std::string> skippedKeys;
  // Deletions a scoped import refused: "[-KEY]" as KEY, "name"=- as KEY\name (@ for the default
  // value), in file order.
  std::vector<std::string> refusedDeletions;
  bool Clean() const { return !badLine && !refusedChange; }
};

// The keys an import may change: each full key name ("HKEY_CURRENT_USER\...") with all its
// subkeys. A key line outside every one of them, of any root, is skipped with its values; a
// deletion of a key or value within them is refused.
struct RegImportScope {
  std::vector<std::string> allowedKeys;
};

// Reads the whole file, then, when every line could be read, applies it: key lines create keys, "[-KEY]" deletes a key tree, value lines set
// values and "name"=- deletes one. Keys outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// are refused as bad lines unless a scope skips them.
RegImportResult ImportRegFile(RegistryStore& store, std::string_view fileBytes, const RegImportScope* scope = nullptr);

}  // namespace vorn
