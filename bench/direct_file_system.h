#pragma once
// The benchmarks' file system: the simulated one's layout (C:\x is <root>/C/x), but files opened,
// made and looked up directly, as the Win32 one does, without the simulation's case-insensitive
// name lookup, so that the figures show the program's work and the system's, not the simulation's.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/sim/sim_file_system.h"

namespace vorn::bench {

class DirectFileSystem : public SimFileSystem {
 public:
  explicit DirectFileSystem(std::filesystem::path root) : SimFileSystem(root), root_(std::move(root)) {}

  bool Exists(const std::string& path) const override {
    struct stat status;
    return stat(Direct(path).c_str(), &status) == 0;
  }
  bool IsDirectory(const std::string& path) const override {
    struct stat status;
    return stat(Direct(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  }
  FsResult CreateDirectory(const std::string& path) override {
    return mkdir(Direct(path).c_str(), 0755) == 0 ? FsResult::Ok : FsResult::Failed;
  }
  std::unique_ptr<InputFile> OpenRead(const std::string& path) const override {
    const int fd = open(Direct(path).c_str(), O_RDONLY);
    return fd < 0 ? nullptr : std::make_unique<Input>(fd);
  }
  std::unique_ptr<OutputFile> OpenWrite(const std::string& path) override {
    const int fd = open(Direct(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd < 0 ? nullptr : std::make_unique<Output>(fd);
  }
  std::unique_ptr<OutputFile> CreateNewFile(const std::string& path, FsResult& result) override {
    const int fd = open(Direct(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    result = fd >= 0 ? FsResult::Ok : errno == EEXIST ? FsResult::AlreadyExists : FsResult::Failed;
    return fd < 0 ? nullptr : std::make_unique<Output>(fd);
  }
  std::optional<uint32_t> Attributes(const std::string& path) const override {
    struct stat status;
    if (lstat(Direct(path).c_str(), &status) != 0) return std::nullopt;
    if (S_ISLNK(status.st_mode)) return fileattr::kReparsePoint;
    return S_ISDIR(status.st_mode) ? fileattr::kDirectory : fileattr::kArchive;
  }

 private:
  class Input : public InputFile {
   public:
    explicit Input(int fd) : fd_(fd) {}
    ~Input() override { close(fd_); }
    std::optional<size_t> Read(void* buffer, size_t size) override {
      const ssize_t got = read(fd_, buffer, size);
      if (got < 0) return std::nullopt;
      return static_cast<size_t>(got);
    }
    uint64_t Size() const override {
      struct stat status;
      return fstat(fd_, &status) == 0 ? static_cast<uint64_t>(status.st_size) : 0;
    }
    bool Seek(uint64_t offset) override { return lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0; }

   private:
    int fd_;
  };
  class Output : public OutputFile {
   public:
    explicit Output(int fd) : fd_(fd) {}
    ~Output() override { Close(); }
    bool Write(const void* data, size_t size) override {
      const auto* bytes = static_cast<const char*>(data);
      while (size > 0) {
        const ssize_t put = write(fd_, bytes, size);
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<size_t>(put);
      }
      return true;
    }
    bool Close() override {
      if (fd_ < 0) return true;
      const bool closed = close(fd_) == 0;
      fd_ = -1;
      return closed;
    }

   private:
    int fd_;
  };

  std::string Direct(const std::string& windowsPath) const {
    std::string path = (root_ / std::string(1, windowsPath.empty() ? 'C' : windowsPath[0])).string();
    for (size_t i = 2; i < windowsPath.size(); ++i) path += windowsPath[i] == '\\' ? '/' : windowsPath[i];
    return path;
  }
  std::filesystem::path root_;
};

}  // namespace vorn::bench
