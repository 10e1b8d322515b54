#include "platform/sim/sim_file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>

#include "platform/folder_path.h"
#include "platform/wildcard.h"

namespace vorn {
namespace fs = std::filesystem;

namespace {

std::string Upper(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

class HostInputFile : public InputFile {
 public:
  HostInputFile(const fs::path& path, uint64_t size) : in_(path, std::ios::binary), size_(size) {}
  bool ok() const { return in_.good(); }
  std::optional<size_t> Read(void* buffer, size_t size) override {
    in_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    if (in_.bad()) return std::nullopt;
    return static_cast<size_t>(in_.gcount());
  }
  uint64_t Size() const override { return size_; }
  bool Seek(uint64_t offset) override {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    return in_.good();
  }

 private:
  std::ifstream in_;
  uint64_t size_;
};

class HostOutputFile : public OutputFile {
 public:
  explicit HostOutputFile(const fs::path& path) : out_(path, std::ios::binary | std::ios::trunc) {}
  bool ok() const { return out_.good(); }
  bool Write(const void* data, size_t size) override {
    out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return out_.good();
  }
  bool Close() override {
    if (!out_.is_open()) return false;
    out_.close();
    return !out_.fail();
  }

 private:
  std::ofstream out_;
};

// A file created with open(2), for exclusive creation that never follows a link.
class HostNewFile : public OutputFile {
 public:
  explicit HostNewFile(int fd) : fd_(fd) {}
  ~HostNewFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Write(const void* data, size_t size) override {
    auto bytes = static_cast<const char*>(data);
    while (size > 0 && ok_) {
      ssize_t n = ::write(fd_, bytes, size);
      if (n < 0 && errno == EINTR) continue;
      ok_ = n > 0;
      if (ok_) bytes += n, size -= static_cast<size_t>(n);
    }
    return ok_;
  }
  bool Close() override {
    if (fd_ < 0) return false;
    ok_ = ::close(fd_) == 0 && ok_;
    fd_ = -1;
    return ok_;
  }

 private:
  int fd_;
  bool ok_ = true;
};

// What the host holds: from ext4's earliest time (1901-12-13) to 2242-03-16, before the clocks'
// nanosecond counts overflow.
constexpr int64_t kEarliestHostTime = -2147483648LL, kLatestHostTime = 8589934591LL;

}  // namespace


SimFileSystem::SimFileSystem(fs::path hostRoot) : root_(std::move(hostRoot)) {}

fs::path SimFileSystem::Resolve(const fs::path& folder, const std::string& name) const {
  fs::path exact = folder / name;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  auto stamp = fs::last_write_time(folder, ec);
  if (ec) return exact;
  auto indexed = folderIndex_.find(folder);
  if (indexed == folderIndex_.end()) {
    if (folderIndex_.size() >= kIndexedFolders)
      folderIndex_.erase(std::min_element(folderIndex_.begin(), folderIndex_.end(), [](const auto& a, const auto& b) {
        return a.second.lastUse < b.second.lastUse;
      }));
    indexed = folderIndex_.emplace(folder, FolderIndex{}).first;
  }
  FolderIndex& index = indexed->second;
  index.lastUse = ++indexUses_;
  if (index.stamp != stamp || index.byUpperName.empty()) {
    index.stamp = stamp;
    index.byUpperName.clear();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
      std::string entryName = entry.path().filename().string();
      index.byUpperName.emplace(Upper(entryName), entryName);
    }
  }
  auto found = index.byUpperName.find(Upper(name));
  return found == index.byUpperName.end() ? exact : folder / found->second;
}

void SimFileSystem::NoteChange(const fs::path& host, bool added) {
  auto index = folderIndex_.find(host.parent_path());
  if (index == folderIndex_.end()) return;
  std::error_code ec;
  auto stamp = fs::last_write_time(host.parent_path(), ec);
  if (ec) {
    folderIndex_.erase(index);
    return;
  }
  // Keeping the index in step with our own changes spares a rescan of the folder for every
  // file created in it, which made writing many files quadratic.
  index->second.stamp = stamp;
  const std::string name = host.filename().string();
  if (added) {
    index->second.byUpperName[Upper(name)] = name;
  } else {
    index->second.byUpperName.erase(Upper(name));
  }
}

fs::path SimFileSystem::HostPath(const std::string& windowsPath) const {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
    return {};
  const fs::path drive = root_ / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0]))));
  std::vector<std::string> names;
  std::string component;
  auto flush = [&] {
    if (component == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!component.empty() && component != ".") {
      names.push_back(component);
    }
    component.clear();
  };
  for (size_t i = 2; i < windowsPath.size(); ++i) {
    char c = windowsPath[i];
    if (c == '\\' || c == '/') {
      flush();
    } else {
      component += c;
    }
  }
  flush();
  // Mostly the path, or its folder, exists as written: one look settles it, so resolving stays
  // linear in the path's length however deep it is.
  auto exact = [&](size_t count) {
    fs::path host = drive;
    for (size_t i = 0; i < count; ++i) host /= names[i];
    return host;
  };
  std::error_code ec;
  const fs::path whole = exact(names.size());
  if (fs::exists(fs::symlink_status(whole, ec))) return whole;
  if (!names.empty()) {
    const fs::path folder = exact(names.size() - 1);
    if (fs::is_directory(folder, ec)) return Resolve(folder, names.back());
  }
  fs::path host = drive;
  for (const auto& name : names) host = Resolve(host, name);
  return host;
}

bool SimFileSystem::Locked(const fs::path& host) const {
  auto it = attributes_.find(host);
  return inUse_.count(host) || (it != attributes_.end() && (it->second & fileattr::kReadOnly));
}

bool SimFileSystem::Exists(const std::string& path) const {
  fs::path host = HostPath(path);
  std::error_code ec;
  return !host.empty() && fs::exists(host, ec);
}

bool SimFileSystem::IsDirectory(const std::string& path) const {
  fs::path host = HostPath(path);
  std::error_code ec;
  return !host.empty() && fs::is_directory(host, ec);
}

std::optional<uint64_t> SimFileSystem::FileSize(const std::string& path) const {
  std::error_code ec;
  auto size = fs::file_size(HostPath(path), ec);
  if (ec) return std::nullopt;
  return size;
}

std::optional<uint32_t> SimFileSystem::Attributes(const std::string& path) const {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty()) return std::nullopt;
  const uint32_t link = fs::is_symlink(fs::symlink_status(host, ec)) ? fileattr::kReparsePoint : 0;
  if (!fs::exists(host, ec)) return link ? std::optional<uint32_t>(link) : std::nullopt;
  if (fs::is_directory(host, ec)) return fileattr::kDirectory | link;
  auto it = attributes_.find(host);
  return (it == attributes_.end() ? fileattr::kArchive : it->second) | link;
}

bool SimFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty() || !fs::exists(host, ec)) return false;
  if (!fs::is_directory(host, ec)) attributes_[host] = attributes & ~fileattr::kDirectory;
  return true;
}

std::optional<int64_t> SimFileSystem::ModifiedTime(const std::string& path) const {
  std::error_code ec;
  auto time = fs::last_write_time(HostPath(path), ec);
  if (ec) return std::nullopt;
  auto system = fs::file_time_type::clock::to_sys(time);
  return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

bool SimFileSystem::SetModifiedTime(const std::string& path, int64_t unixSeconds) {
  std::error_code ec;
  const int64_t held = std::clamp(unixSeconds, kEarliestHostTime, kLatestHostTime);
  auto system = std::chrono::system_clock::time_point(std::chrono::seconds(held));
  fs::last_write_time(HostPath(path), fs::file_time_type::clock::from_sys(system), ec);
  return !ec;
}

FsResult SimFileSystem::CreateDirectory(const std::string& path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty()) return FsResult::NotFound;
  if (fs::exists(host, ec)) return FsResult::AlreadyExists;
  if (!fs::is_directory(host.parent_path(), ec)) return FsResult::NotFound;
  if (!fs::create_directory(host, ec)) return FsResult::Failed;
  NoteChange(host, true);
  return FsResult::Ok;
}

FsResult SimFileSystem::RemoveDirectory(const std::string& path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty() || !fs::is_directory(host, ec)) return FsResult::NotFound;
  // A linked folder goes as a link, whatever it points at holds.
  if (!fs::is_symlink(fs::symlink_status(host, ec)) && !fs::is_empty(host, ec)) return FsResult::Failed;
  if (!fs::remove(host, ec)) return FsResult::Failed;
  NoteChange(host, false);
  return FsResult::Ok;
}

FsResult SimFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  fs::path src = HostPath(from), dst = HostPath(to);
  std::error_code ec;
  if (src.empty() || !fs::is_regular_file(src, ec)) return FsResult::NotFound;
  if (dst.empty() || !fs::is_directory(dst.parent_path(), ec)) return FsResult::NotFound;
  if (fs::exists(dst, ec)) {
    if (!overwrite) return FsResult::AlreadyExists;
    if (Locked(dst) || fs::is_directory(dst, ec)) return FsResult::AccessDenied;
  }
  fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec);
  if (ec) return FsResult::Failed;
  NoteChange(dst, true);
  if (auto it = attributes_.find(src); it != attributes_.end()) attributes_[dst] = it->second;
  return FsResult::Ok;
}

FsResult SimFileSystem::MoveFile(const std::string& from, const std::string& to) {
  fs::path src = HostPath(from), dst = HostPath(to);
  std::error_code ec;
  if (src.empty() || !fs::exists(src, ec)) return FsResult::NotFound;
  if (inUse_.count(src)) return FsResult::AccessDenied;
  // Each drive letter stands for a volume of its own, which a rename cannot leave.
  if (!dst.empty() && std::toupper(static_cast<unsigned char>(from[0])) != std::toupper(static_cast<unsigned char>(to[0])))
    return FsResult::Failed;
  if (dst.empty() || !fs::is_directory(dst.parent_path(), ec)) return FsResult::NotFound;
  if (fs::exists(dst, ec) && !fs::equivalent(src, dst, ec)) return FsResult::AlreadyExists;
  fs::rename(src, dst, ec);
  if (ec) return FsResult::Failed;
  NoteChange(src, false);
  NoteChange(dst, true);
  // The attributes of a moved folder's files go with them.
  std::map<fs::path, uint32_t> moved;
  for (auto it = attributes_.begin(); it != attributes_.end();) {
    const auto [end, _] = std::mismatch(src.begin(), src.end(), it->first.begin(), it->first.end());
    if (end != src.end()) {
      ++it;
      continue;
    }
    moved[it->first == src ? dst : dst / it->first.lexically_relative(src)] = it->second;
    it = attributes_.erase(it);
  }
  attributes_.merge(moved);
  return FsResult::Ok;
}

FsResult SimFileSystem::DeleteFile(const std::string& path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  // A link to a file, or to nothing, goes itself; its target stays.
  const bool fileLink = fs::is_symlink(fs::symlink_status(host, ec)) && !fs::is_directory(host, ec);
  if (host.empty() || (!fs::is_regular_file(host, ec) && !fileLink)) return FsResult::NotFound;
  if (Locked(host)) return FsResult::AccessDenied;
  if (!fs::remove(host, ec)) return FsResult::Failed;
  NoteChange(host, false);
  attributes_.erase(host);
  return FsResult::Ok;
}

std::vector<DirEntry> SimFileSystem::List(const std::string& folder, const std::string& pattern) const {
  std::vector<DirEntry> entries;
  fs::path host = HostPath(folder);
  std::error_code ec;
  if (host.empty()) return entries;
  for (const auto& item : fs::directory_iterator(host, ec)) {
    std::string name = item.path().filename().string();
    if (!WildcardMatch(pattern, name)) continue;
    DirEntry entry;
    entry.name = name;
    entry.isDirectory = item.is_directory(ec);
    entry.size = entry.isDirectory ? 0 : item.file_size(ec);
    std::string windowsPath = folder + "\\" + name;
    entry.attributes = Attributes(windowsPath).value_or(0);
    entry.modified = ModifiedTime(windowsPath).value_or(0);
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return entries;
}

std::unique_ptr<InputFile> SimFileSystem::OpenRead(const std::string& path) const {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty() || !fs::is_regular_file(host, ec)) return nullptr;
  auto file = std::make_unique<HostInputFile>(host, fs::file_size(host, ec));
  return file->ok() ? std::move(file) : nullptr;
}

std::unique_ptr<OutputFile> SimFileSystem::OpenWrite(const std::string& path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (host.empty() || !fs::is_directory(host.parent_path(), ec) || fs::is_directory(host, ec)) return nullptr;
  if (fs::exists(host, ec) && Locked(host)) return nullptr;
  // As on Windows, replacing a file does not take a hidden or system one.
  if (auto it = attributes_.find(host); it != attributes_.end() && (it->second & (fileattr::kHidden | fileattr::kSystem)))
    return nullptr;
  auto file = std::make_unique<HostOutputFile>(host);
  if (!file->ok()) return nullptr;
  NoteChange(host, true);
  return file;
}

std::unique_ptr<OutputFile> SimFileSystem::CreateNewFile(const std::string& path, FsResult& result) {
  fs::path host = HostPath(path);
  std::error_code ec;
  result = FsResult::NotFound;
  if (host.empty() || !fs::is_directory(host.parent_path(), ec)) return nullptr;
  // O_EXCL refuses any existing name, a link included, without following it.
  int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    result = errno == EEXIST ? FsResult::AlreadyExists : errno == EACCES ? FsResult::AccessDenied : FsResult::Failed;
    return nullptr;
  }
  attributes_.erase(host);
  NoteChange(host, true);
  result = FsResult::Ok;
  return std::make_unique<HostNewFile>(fd);
}

std::string SimFileSystem::FirstLinkAlong(const std::string& path, const std::string& from) const {
  std::error_code ec;
  for (const auto& folder : FoldersAlong(path, from)) {
    const fs::file_status status = fs::symlink_status(HostPath(folder), ec);
    if (fs::is_symlink(status)) return folder;
    if (!fs::exists(status)) break;
  }
  return {};
}

void SimFileSystem::MarkInUse(const std::string& path) { inUse_.insert(HostPath(path)); }

}  // namespace vorn
