#include "tests/regedit/reg_test_support.h"

#include "platform/codepage.h"

namespace vorn::regtest {
namespace {

void Dump(const RegistryStore& store, RegRoot root, const std::string& keyPath, const std::string& relative,
          std::vector<KeyDump>& out) {
  out.push_back({relative, store.EnumValues(root, keyPath).value_or(std::vector<RegNamedValue>{})});
  for (const auto& name : store.EnumSubkeys(root, keyPath).value_or(std::vector<std::string>{}))
    Dump(store, root, keyPath + "\\" + name, relative.empty() ? name : relative + "\\" + name, out);
}

}  // namespace

std::string Utf16File(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string AnsiFile(const std::string& utf8) { return Utf8ToCp932(utf8); }

std::vector<uint8_t> Bytes(const std::string& raw) { return std::vector<uint8_t>(raw.begin(), raw.end()); }

std::vector<uint8_t> AnsiBytes(const std::string& utf8) { return Bytes(Utf8ToCp932(utf8)); }

RegValue Sz(const std::string& utf8) {
  auto data = Bytes(Utf8ToCp932(utf8));
  data.push_back(0);
  return RegValue{regtype::kSz, data};
}

std::vector<KeyDump> DumpTree(const RegistryStore& store, RegRoot root, const std::string& keyPath) {
  std::vector<KeyDump> out;
  if (store.KeyExists(root, keyPath)) Dump(store, root, keyPath, "", out);
  return out;
}

}  // namespace vorn::regtest
