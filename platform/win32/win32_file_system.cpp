#include "platform/win32/win32_file_system.h"

#include <algorithm>

#include "platform/win32/windows_api.h"

#include <utility>

#include "platform/folder_path.h"
#include "platform/win32/family_functions.h"
#include "platform/win32/win32_handles.h"

namespace vorn {
namespace {

// FILETIME counts 100 ns steps from 1601-01-01 UTC.
constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;
constexpr int64_t kTicksPerSecond = 10000000LL;

int64_t ToUnixSeconds(const FILETIME& time) {
  int64_t ticks = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return (ticks - kUnixEpochAsFileTime) / kTicksPerSecond;
}

// FILETIME holds 1601-01-01 up to the year 30828; its first second is left out, since a time of
// 0 tells SetFileTime to leave the time as it is.
constexpr int64_t kEarliestFileTime = -kUnixEpochAsFileTime / kTicksPerSecond + 1;
constexpr int64_t kLatestFileTime = (INT64_MAX - kUnixEpochAsFileTime) / kTicksPerSecond;

FILETIME ToFileTime(int64_t unixSeconds) {
  const int64_t held = std::clamp(unixSeconds, kEarliestFileTime, kLatestFileTime);
  uint64_t ticks = static_cast<uint64_t>(held * kTicksPerSecond + kUnixEpochAsFileTime);
  return {static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

FsResult LastResult() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return FsResult::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FsResult::AccessDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FsResult::AlreadyExists;
    default:
      return FsResult::Failed;
  }
}

FsResult Result(BOOL ok) { return ok ? FsResult::Ok : LastResult(); }

// Windows refuses to replace a read-only file, and to truncate a hidden or system one for a caller
// that makes a normal file; Wine lets both through (run as root it also ignores the read-only
// mark, which it keeps in the Unix permissions). Checked here so both agree.
DWORD AttributesOf(const std::string& path) {
  return win32::WithPath(win32::Nt().GetFileAttributesW, GetFileAttributesA, path);
}

bool IsFileMarked(const std::string& path, DWORD marks) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & marks) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<WIN32_FILE_ATTRIBUTE_DATA> Stat(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!win32::WithPath(win32::Nt().GetFileAttributesExW, GetFileAttributesExA, path, GetFileExInfoStandard, &data))
    return std::nullopt;
  return data;
}

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(win32::Handle file) : file_(std::move(file)) {}
  std::optional<size_t> Read(void* buffer, size_t size) override {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file_.get(), buffer, chunk, &read, nullptr)) return std::nullopt;
    return read;
  }
  // The 98 family has neither GetFileSizeEx nor SetFilePointerEx: the size and the position in two halves.
  uint64_t Size() const override {
    DWORD high = 0;
    const DWORD low = GetFileSize(file_.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
    return (static_cast<uint64_t>(high) << 32) | low;
  }
  bool Seek(uint64_t offset) override {
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low = SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
    return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
  }

 private:
  win32::Handle file_;
};

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(win32::Handle file) : file_(std::move(file)) {}
  bool Write(const void* data, size_t size) override {
    auto bytes = static_cast<const char*>(data);
    while (size > 0 && ok_) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      DWORD written = 0;
      ok_ = WriteFile(file_.get(), bytes, chunk, &written, nullptr) && written == chunk;
      bytes += chunk;
      size -= chunk;
    }
    return ok_;
  }
  bool Close() override {
    if (!file_) return ok_;
    ok_ = FlushFileBuffers(file_.get()) && ok_;
    return file_.Close() && ok_;
  }

 private:
  win32::Handle file_;
  bool ok_ = true;
};

// One found entry of either family's search; "." and ".." are left out.
template <typename FindData>
void AddEntry(std::vector<DirEntry>& entries, std::string name, const FindData& found) {
  if (name == "." || name == "..") return;
  DirEntry entry;
  entry.name = std::move(name);
  entry.attributes = found.dwFileAttributes;
  entry.isDirectory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
  entry.size = entry.isDirectory ? 0 : (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  entry.modified = ToUnixSeconds(found.ftLastWriteTime);
  entries.push_back(std::move(entry));
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) const {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::IsDirectory(const std::string& path) const {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> Win32FileSystem::FileSize(const std::string& path) const {
  auto data = Stat(path);
  if (!data || (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return (static_cast<uint64_t>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
}

std::optional<uint32_t> Win32FileSystem::Attributes(const std::string& path) const {
  DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  return win32::WithPath(win32::Nt().SetFileAttributesW, SetFileAttributesA, path, attributes);
}

std::optional<int64_t> Win32FileSystem::ModifiedTime(const std::string& path) const {
  auto data = Stat(path);
  if (!data) return std::nullopt;
  return ToUnixSeconds(data->ftLastWriteTime);
}

bool Win32FileSystem::SetModifiedTime(const std::string& path, int64_t unixSeconds) {
  // Backup semantics let the same call open folders; the 98 family opens files only, for writing.
  const bool nt = win32::IsNtFamily();
  win32::Handle file(win32::WithPath(win32::Nt().CreateFileW, CreateFileA, path,
                                     nt ? FILE_WRITE_ATTRIBUTES : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, nt ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr));
  if (!file) return false;
  FILETIME time = ToFileTime(unixSeconds);
  return SetFileTime(file.get(), nullptr, nullptr, &time) && file.Close();
}

FsResult Win32FileSystem::CreateDirectory(const std::string& path) {
  return Result(win32::WithPath(win32::Nt().CreateDirectoryW, CreateDirectoryA, path, nullptr));
}

FsResult Win32FileSystem::RemoveDirectory(const std::string& path) {
  return Result(win32::WithPath(win32::Nt().RemoveDirectoryW, RemoveDirectoryA, path));
}

FsResult Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  if (overwrite && IsFileMarked(to, FILE_ATTRIBUTE_READONLY)) return FsResult::AccessDenied;
  return Result(win32::WithPaths(win32::Nt().CopyFileW, CopyFileA, from, to, !overwrite));
}

FsResult Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
  return Result(win32::WithPaths(win32::Nt().MoveFileW, MoveFileA, from, to));
}

FsResult Win32FileSystem::DeleteFile(const std::string& path) {
  return Result(win32::WithPath(win32::Nt().DeleteFileW, DeleteFileA, path));
}

std::vector<DirEntry> Win32FileSystem::List(const std::string& folder, const std::string& pattern) const {
  std::vector<DirEntry> entries;
  const std::string search = folder + "\\" + pattern;
  if (win32::IsNtFamily()) {
    WIN32_FIND_DATAW found;
    win32::FindHandle handle(win32::Nt().FindFirstFileW(Wide(search).c_str(), &found));
    if (handle)
      do AddEntry(entries, Narrow(found.cFileName), found);
      while (win32::Nt().FindNextFileW(handle.get(), &found));
  } else {
    WIN32_FIND_DATAA found;
    win32::FindHandle handle(FindFirstFileA(win32::Ansi(search).c_str(), &found));
    if (handle)
      do AddEntry(entries, win32::FromAnsi(found.cFileName), found);
      while (FindNextFileA(handle.get(), &found));
  }
  return entries;
}

std::unique_ptr<InputFile> Win32FileSystem::OpenRead(const std::string& path) const {
  win32::Handle file(win32::WithPath(win32::Nt().CreateFileW, CreateFileA, path, GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32InputFile>(std::move(file));
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenWrite(const std::string& path) {
  if (IsFileMarked(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return nullptr;
  win32::Handle file(win32::WithPath(win32::Nt().CreateFileW, CreateFileA, path, GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

std::unique_ptr<OutputFile> Win32FileSystem::CreateNewFile(const std::string& path, FsResult& result) {
  // CREATE_NEW fails on any existing name, a link included, and so never follows one.
  win32::Handle file(win32::WithPath(win32::Nt().CreateFileW, CreateFileA, path, GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    result = LastResult();
    return nullptr;
  }
  result = FsResult::Ok;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

// A junction, a symbolic link or a mount point each carries the reparse mark; on the 98 family
// none exists.
std::string Win32FileSystem::FirstLinkAlong(const std::string& path, const std::string& from) const {
  for (const auto& folder : FoldersAlong(path, from)) {
    const DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) break;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return folder;
  }
  return {};
}

}  // namespace vorn
