#pragma once
// Helpers for the .reg editor tests: file bytes in either encoding and a flat view of a key tree.
#include <string>
#include <vector>

#include "platform/registry_store.h"

namespace vorn::regtest {

// BOM + UTF-16LE of a UTF-8 text, as the Unicode editor writes its files.
std::string Utf16File(const std::string& utf8);
// Code page 932 bytes of a UTF-8 text.
std::string AnsiFile(const std::string& utf8);
std::vector<uint8_t> Bytes(const std::string& raw);
// Code page 932 bytes of a UTF-8 text, as the store holds string data.
std::vector<uint8_t> AnsiBytes(const std::string& utf8);
RegValue Sz(const std::string& utf8);

// Every key (with its values) below and including keyPath, one entry per key, keys named
// relative to keyPath; comparable between stores.
struct KeyDump {
  std::string path;
  std::vector<RegNamedValue> values;
  bool operator==(const KeyDump&) const = default;
};
std::vector<KeyDump> DumpTree(const RegistryStore& store, RegRoot root, const std::string& keyPath);

}  // namespace vorn::regtest
