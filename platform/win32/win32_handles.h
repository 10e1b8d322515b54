#pragma once
// Owners of Win32 handles: each closes its handle once, when it goes or when asked, and none
// can be copied (a copy would close the handle twice). Moving hands the handle over.
#include <utility>

#include "platform/win32/windows_api.h"

namespace vorn::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;

  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Value{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      value_ = std::exchange(other.value_, Value{});
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  explicit operator bool() const { return Traits::Valid(value_); }
  Value get() const { return value_; }
  // Closes the handle now; false when the system reported a failure (nothing held is true).
  bool Close() {
    const Value value = std::exchange(value_, Value{});
    return !Traits::Valid(value) || Traits::Close(value);
  }

 private:
  Value value_{};
};

// Kernel objects: files, processes, threads, snapshots, mutexes. Functions report failure
// either as null or as INVALID_HANDLE_VALUE; neither is closed.
struct KernelHandleTraits {
  using Value = HANDLE;
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != 0; }
};

struct RegistryKeyTraits {
  using Value = HKEY;
  static bool Valid(HKEY key) { return key != nullptr; }
  static bool Close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

struct ModuleTraits {
  using Value = HMODULE;
  static bool Valid(HMODULE module) { return module != nullptr; }
  static bool Close(HMODULE module) { return FreeLibrary(module) != 0; }
};

struct FindHandleTraits {
  using Value = HANDLE;
  static bool Valid(HANDLE search) { return search != nullptr && search != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE search) { return FindClose(search) != 0; }
};

template <typename Object>
struct GdiObjectTraits {
  using Value = Object;
  static bool Valid(Object object) { return object != nullptr; }
  static bool Close(Object object) { return DeleteObject(object) != 0; }
};

using Handle = UniqueHandle<KernelHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;
using Module = UniqueHandle<ModuleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
// A pen, brush, font or bitmap made by the program (not a stock object).
template <typename Object>
using GdiObject = UniqueHandle<GdiObjectTraits<Object>>;

}  // namespace vorn::win32
