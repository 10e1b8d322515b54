#include "platform/win32/win32_registry_store.h"

#include "platform/win32/windows_api.h"
#include <shlwapi.h>

#include "platform/codepage.h"
#include "platform/registry_path.h"
#include "platform/win32/win32_handles.h"

namespace vorn {
namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The key path as the A functions take it: single separators, code page 932.
std::string AnsiKeyPath(const std::string& keyPath) { return Utf8ToCp932(JoinKeyPath(SplitKeyPath(keyPath))); }

win32::RegistryKey OpenKey(RegRoot root, const std::string& keyPath, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey(root), AnsiKeyPath(keyPath).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return win32::RegistryKey(key);
}

// Opens the key, creating it and its missing ancestors first.
win32::RegistryKey OpenOrCreateKey(RegRoot root, const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(RootKey(root), AnsiKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return {};
  return win32::RegistryKey(key);
}

}  // namespace

bool Win32RegistryStore::KeyExists(RegRoot root, const std::string& keyPath) const {
  return static_cast<bool>(OpenKey(root, keyPath, KEY_READ));
}

std::optional<RegValue> Win32RegistryStore::ReadValue(RegRoot root, const std::string& keyPath,
                                                      const std::string& valueName) const {
  win32::RegistryKey key = OpenKey(root, keyPath, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  const std::string name = Utf8ToCp932(valueName);
  RegValue value;
  DWORD type = 0, size = 0;
  LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  // The value may grow between the size query and the read; ask again until it fits.
  while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    value.data.resize(size);
    rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, value.data.empty() ? nullptr : value.data.data(),
                          &size);
    if (rc == ERROR_SUCCESS) {
      value.data.resize(size);
      value.type = type;
      return value;
    }
  }
  return std::nullopt;
}

bool Win32RegistryStore::WriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                                    const RegValue& value) {
  if (!IsValidKeyPath(keyPath)) return false;
  win32::RegistryKey key = OpenOrCreateKey(root, keyPath);
  if (!key) return false;
  static const BYTE kNoData = 0;
  bool written = RegSetValueExA(key.get(), Utf8ToCp932(valueName).c_str(), 0, value.type,
                                value.data.empty() ? &kNoData : value.data.data(),
                                static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  return key.Close() && written;
}

bool Win32RegistryStore::DeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName) {
  win32::RegistryKey key = OpenKey(root, keyPath, KEY_ALL_ACCESS);
  if (!key) return false;
  bool deleted = RegDeleteValueA(key.get(), Utf8ToCp932(valueName).c_str()) == ERROR_SUCCESS;
  return key.Close() && deleted;
}

bool Win32RegistryStore::CreateKey(RegRoot root, const std::string& keyPath) {
  if (!IsValidKeyPath(keyPath)) return false;
  win32::RegistryKey key = OpenOrCreateKey(root, keyPath);
  return key && key.Close();
}

bool Win32RegistryStore::DeleteKeyTree(RegRoot root, const std::string& keyPath) {
  // An empty path would name the root itself.
  if (!IsValidKeyPath(keyPath)) return false;
  return SHDeleteKeyA(RootKey(root), AnsiKeyPath(keyPath).c_str()) == ERROR_SUCCESS;
}

std::optional<std::vector<std::string>> Win32RegistryStore::EnumSubkeys(RegRoot root,
                                                                         const std::string& keyPath) const {
  win32::RegistryKey key = OpenKey(root, keyPath, KEY_ENUMERATE_SUB_KEYS);
  if (!key) return std::nullopt;
  std::vector<std::string> names;
  // 255 characters of code page 932 take at most 510 bytes.
  char name[512];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    LONG rc = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    names.push_back(Cp932ToUtf8(std::string(name, length)));
  }
  return names;
}

std::optional<std::vector<RegNamedValue>> Win32RegistryStore::EnumValues(RegRoot root,
                                                                         const std::string& keyPath) const {
  win32::RegistryKey key = OpenKey(root, keyPath, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  DWORD maxNameChars = 0, maxDataBytes = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxNameChars,
                       &maxDataBytes, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<RegNamedValue> values;
  // A name of n characters takes up to 2n bytes in code page 932.
  std::string name(2 * maxNameChars + 2, '\0');
  std::vector<uint8_t> data(maxDataBytes + 1);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG rc = RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;  // changed while listing
    values.push_back({Cp932ToUtf8(name.substr(0, nameLength)), {type, {data.begin(), data.begin() + dataSize}}});
  }
  return values;
}

}  // namespace vorn
