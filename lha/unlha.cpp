#include "lha/unlha.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>
#include <set>

#include "lha/codec/lha_reader.h"
#include "lha/codec/lha_writer.h"
#include "lha/codec/member_name.h"
#include "lha/unlha_command.h"
#include "platform/thread.h"
#include "platform/wildcard.h"
#include "lha/unlha_result.h"

namespace vorn::unlha {
namespace {

using lha::MemberHeader;

class FileSource : public lha::ByteSource {
 public:
  explicit FileSource(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}
  std::optional<size_t> Read(void* buffer, size_t size) override { return file_->Read(buffer, size); }

 private:
  std::unique_ptr<InputFile> file_;
};

class FileSink : public lha::ByteSink {
 public:
  explicit FileSink(OutputFile& file) : file_(file) {}
  bool Write(const void* data, size_t size) override { return file_.Write(data, size); }

 private:
  OutputFile& file_;
};

// Spill storage in a file; the lock serialises its file system calls with those of other threads.
class FileSpill : public lha::SpillStorage {
 public:
  FileSpill(FileSystem& files, Mutex& lock, std::string path)
      : files_(files), lock_(lock), path_(std::move(path)) {}
  ~FileSpill() override { Discard(); }
  bool Begin() override {
    std::lock_guard guard(lock_);
    out_ = files_.OpenWrite(path_);
    return out_ != nullptr;
  }
  bool Write(const void* data, size_t size) override { return out_ && out_->Write(data, size); }
  std::unique_ptr<lha::ByteSource> ReadBack() override {
    if (!out_ || !out_->Close()) return nullptr;
    out_.reset();
    std::lock_guard guard(lock_);
    auto in = files_.OpenRead(path_);
    return in ? std::make_unique<FileSource>(std::move(in)) : nullptr;
  }
  void Discard() override {
    if (out_) out_->Close();
    out_.reset();
    std::lock_guard guard(lock_);
    if (files_.Exists(path_)) files_.DeleteFile(path_);
  }

 private:
  FileSystem& files_;
  Mutex& lock_;
  std::string path_;
  std::unique_ptr<OutputFile> out_;
};

// Progress of a member packed on a worker thread, read by the caller's thread.
class SharedProgress : public lha::Progress {
 public:
  explicit SharedProgress(const std::atomic<bool>& stop) : stop_(stop) {}
  bool Advance(uint64_t done, uint64_t total) override {
    done_ = done;
    total_ = total;
    return !stop_;
  }
  uint64_t done() const { return done_; }
  uint64_t total() const { return total_; }

 private:
  const std::atomic<bool>& stop_;
  std::atomic<uint64_t> done_{0}, total_{0};
};

class HookProgress : public lha::Progress {
 public:
  HookProgress(const ProgressHook& hook, const std::string& member) : hook_(hook), member_(member) {}
  bool Advance(uint64_t done, uint64_t total) override { return !hook_ || hook_(member_, done, total); }

 private:
  const ProgressHook& hook_;
  const std::string& member_;
};

// Collects messages and keeps the first failure's code.
class Outcome {
 public:
  void Line(const std::string& text) { log_ += text + "\r\n"; }
  void Fail(int32_t code, const std::string& text) {
    if (code_ == kOk) code_ = code;
    Line(text);
  }
  int32_t code() const { return code_; }
  const std::string& log() const { return log_; }

 private:
  int32_t code_ = kOk;
  std::string log_;
};

std::string WithoutTrailingBackslash(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// Members count as the same when their UTF-8 paths differ only in ASCII case, as on Windows.
std::string MemberKey(const std::string& displayName) { return Lower(displayName); }

bool CreateFolders(FileSystem& files, const std::string& folder) {
  if (files.IsDirectory(folder)) return true;
  size_t cut = folder.find_last_of('\\');
  if (cut != std::string::npos && cut > 2 && !CreateFolders(files, folder.substr(0, cut))) return false;
  return files.CreateDirectory(folder) == FsResult::Ok || files.IsDirectory(folder);
}

// ---- packing ----

struct PackEntry {
  std::string source;
  std::vector<std::string> stored;
  bool directory = false;
  DirEntry info;
};

class Packer {
 public:
  Packer(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook,
         size_t packedBytesInMemory)
      : files_(files), command_(command), outcome_(outcome), hook_(hook), memoryLimit_(packedBytesInMemory) {
    for (const auto& path : {command.archive, TempPath()}) skip_.insert(Lower(path));
    for (size_t worker = 0; worker < kWorkers; ++worker) skip_.insert(Lower(SpillPath(worker)));
  }

  void Run() {
    for (const auto& selection : command_.selections) {
      const std::string folder = WithoutTrailingBackslash(selection.baseFolder);
      if (!files_.IsDirectory(folder)) return outcome_.Fail(kFolderNotFound, "Folder not found: " + folder);
      Collect(folder, {}, selection.pattern);
    }
    if (entries_.empty()) return outcome_.Fail(kNoMatchingFiles, "No matching files");
    if (outcome_.code() != kOk) return;
    Write();
  }

 private:
  std::string TempPath() const { return command_.archive + ".$$$"; }
  std::string SpillPath(size_t worker) const { return command_.archive + ".$s" + std::to_string(worker); }

  void Collect(const std::string& folder, const std::vector<std::string>& relative, const std::string& pattern) {
    auto listed = files_.List(folder, "*");
    std::sort(listed.begin(), listed.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    for (const auto& entry : listed) {
      const std::string path = Join(folder, entry.name);
      if (!command_.allAttributes && (entry.attributes & (fileattr::kHidden | fileattr::kSystem))) continue;
      if (skip_.count(Lower(path))) continue;
      std::vector<std::string> names = relative;
      names.push_back(entry.name);
      if (entry.isDirectory) {
        if (!command_.recurse) continue;
        if (command_.keepPaths) Add(path, names, entry);  // a folder entry only means something with paths
        Collect(path, names, pattern);
      } else if (WildcardMatch(pattern, entry.name)) {
        Add(path, names, entry);
      }
    }
  }

  void Add(const std::string& path, const std::vector<std::string>& names, const DirEntry& info) {
    auto kept = command_.keepPaths ? names : std::vector<std::string>{names.back()};
    auto stored = lha::StoredPath(kept);
    if (!stored) return outcome_.Fail(kNameNotStorable, "Name not storable: " + path);
    std::string display;
    for (const auto& part : kept) display += (display.empty() ? "" : "\\") + part;
    if (!storedNames_.insert(MemberKey(display)).second) return;  // a second selection reaching the same file
    entries_.push_back({path, *stored, info.isDirectory, info});
  }

  void Write() {
    auto out = files_.OpenWrite(TempPath());
    if (!out) return outcome_.Fail(kCannotWriteArchive, "Cannot create " + TempPath());
    FileSink sink(*out);
    lha::LhaWriter writer(sink, nullptr);
    bool ok = KeepOldMembers(sink) && AddEntries(writer);
    if (ok && (!writer.Finish() || !out->Close())) {
      outcome_.Fail(kCannotWriteArchive, "Cannot write " + TempPath());
      ok = false;
    }
    out.reset();
    if (ok && files_.Exists(command_.archive) && files_.DeleteFile(command_.archive) != FsResult::Ok) {
      outcome_.Fail(kCannotWriteArchive, "Cannot replace " + command_.archive);
      ok = false;
    }
    if (ok && files_.MoveFile(TempPath(), command_.archive) != FsResult::Ok) {
      outcome_.Fail(kCannotWriteArchive, "Cannot create " + command_.archive);
      ok = false;
    }
    if (!ok) files_.DeleteFile(TempPath());
  }

  // Adding to an existing archive keeps its members that are not packed again, unchanged.
  bool KeepOldMembers(lha::ByteSink& sink) {
    if (!files_.Exists(command_.archive)) return true;
    auto in = files_.OpenRead(command_.archive);
    if (!in) return outcome_.Fail(kArchiveNotFound, "Cannot open " + command_.archive), false;
    FileSource source(std::move(in));
    lha::LhaReader reader(source);
    MemberHeader header;
    for (;;) {
      auto read = reader.Next(header);
      if (read == lha::HeaderRead::End) return true;
      if (read == lha::HeaderRead::Damaged)
        return outcome_.Fail(kArchiveDamaged, "Damaged archive: " + command_.archive), false;
      if (storedNames_.count(MemberKey(lha::DisplayName(header)))) continue;
      std::string bytes = lha::EncodeLevel2Header(header);
      if (!sink.Write(bytes.data(), bytes.size()) || !reader.CopyPacked(sink))
        return outcome_.Fail(kCannotWriteArchive, "Cannot write " + TempPath()), false;
    }
  }

  lha::SourceOpener OpenerFor(const PackEntry& entry) {
    return [this, &entry]() -> std::unique_ptr<lha::ByteSource> {
      std::lock_guard guard(filesLock_);
      auto file = files_.OpenRead(entry.source);
      return file ? std::make_unique<FileSource>(std::move(file)) : nullptr;
    };
  }

  // Files are packed by up to kWorkers threads at once, each member on its own, and written in
  // order: the archive is the same as when they are packed one after the other. Progress is
  // reported from this thread while it waits for the member to be written next.
  bool AddEntries(lha::LhaWriter& writer) {
    struct Job {
      const PackEntry* entry;
      size_t worker;
      std::unique_ptr<SharedProgress> progress;
      std::unique_ptr<std::unique_ptr<lha::PackedMember>> packed;
      std::unique_ptr<Thread> packing;  // last: destroyed (joined) before what it writes
    };
    std::vector<std::unique_ptr<FileSpill>> spills;
    for (size_t worker = 0; worker < kWorkers; ++worker)
      spills.push_back(std::make_unique<FileSpill>(files_, filesLock_, SpillPath(worker)));
    std::vector<bool> busy(kWorkers, false);
    std::atomic<bool> stop{false};
    std::deque<Job> jobs;
    size_t next = 0;
    auto launch = [&] {
      while (next < entries_.size() && jobs.size() < kWorkers) {
        const PackEntry& entry = entries_[next++];
        Job job{&entry, 0, nullptr, nullptr, nullptr};
        if (!entry.directory) {
          job.worker = static_cast<size_t>(std::find(busy.begin(), busy.end(), false) - busy.begin());
          busy[job.worker] = true;
          job.progress = std::make_unique<SharedProgress>(stop);
          MemberHeader header = HeaderFor(entry);
          header.originalSize = entry.info.size;
          job.packed = std::make_unique<std::unique_ptr<lha::PackedMember>>();
          job.packing = std::make_unique<Thread>([this, header, opener = OpenerFor(entry),
                                                  spill = spills[job.worker].get(), progress = job.progress.get(),
                                                  packed = job.packed.get()] {
            *packed = lha::LhaWriter::Pack(header, opener, spill, memoryLimit_, progress);
          });
        }
        jobs.push_back(std::move(job));
      }
    };
    // Leaving early still waits for the workers: the jobs' threads join them.
    for (launch(); !jobs.empty(); launch()) {
      Job job = std::move(jobs.front());
      jobs.pop_front();
      const PackEntry& entry = *job.entry;
      if (entry.directory) {
        if (!writer.AddDirectory(HeaderFor(entry))) return Abort(stop, kCannotWriteArchive, "Cannot write archive");
        continue;
      }
      const std::string name = lha::DisplayName(HeaderFor(entry));
      while (!job.packing->WaitFor(std::chrono::milliseconds(100)))
        if (hook_ && !hook_(name, job.progress->done(), job.progress->total())) stop = true;
      job.packing->Join();
      auto member = std::move(*job.packed);
      HookProgress progress(hook_, name);
      lha::AddResult result = writer.Write(*member, OpenerFor(entry), &progress);
      member.reset();
      busy[job.worker] = false;
      switch (result) {
        case lha::AddResult::Ok: outcome_.Line("Frozen " + name); break;
        case lha::AddResult::ReadFailed: return Abort(stop, kCannotReadFile, "Cannot read " + entry.source);
        case lha::AddResult::SourceChanged: return Abort(stop, kFileChanged, "Changed while packed: " + entry.source);
        case lha::AddResult::WriteFailed: return Abort(stop, kCannotWriteArchive, "Cannot write archive");
        case lha::AddResult::Stopped: return Abort(stop, kStopped, "Stopped");
      }
    }
    return true;
  }

  bool Abort(std::atomic<bool>& stop, int32_t code, const std::string& message) {
    stop = true;
    outcome_.Fail(code, message);
    return false;
  }

  static MemberHeader HeaderFor(const PackEntry& entry) {
    MemberHeader header;
    header.path = entry.stored;
    header.modified = entry.info.modified;
    header.attributes = entry.info.attributes & 0x3F;
    return header;
  }

  static constexpr size_t kWorkers = 2;
  FileSystem& files_;
  const Command& command_;
  Outcome& outcome_;
  const ProgressHook& hook_;
  size_t memoryLimit_;
  Mutex filesLock_;
  std::set<std::string> skip_;
  std::set<std::string> storedNames_;
  std::vector<PackEntry> entries_;
};

// ---- reading ----

bool Selected(const std::vector<std::string>& patterns, const MemberHeader& header) {
  const std::string full = lha::DisplayName(header);
  const std::string last = full.substr(full.find_last_of('\\') + 1);
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::string& p) { return WildcardMatch(p, full) || WildcardMatch(p, last); });
}

int32_t CodeFor(lha::ExtractResult result) {
  switch (result) {
    case lha::ExtractResult::Ok: return kOk;
    case lha::ExtractResult::CrcMismatch: return kCrcMismatch;
    case lha::ExtractResult::Damaged: return kArchiveDamaged;
    case lha::ExtractResult::UnsupportedMethod: return kUnsupportedMethod;
    case lha::ExtractResult::WriteFailed: return kCannotWriteFile;
    case lha::ExtractResult::Stopped: return kStopped;
  }
  return kArchiveDamaged;
}

std::string ListLine(const MemberHeader& header) {
  char stamp[32] = "";
  std::time_t t = static_cast<std::time_t>(header.modified);
  if (std::tm* tm = std::gmtime(&t)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", tm);
  char line[128];
  std::snprintf(line, sizeof line, "%12" PRIu64 " %12" PRIu64 " %s %04X %s  ", header.originalSize,
                header.packedSize, header.method.c_str(), header.crc, stamp);
  return line + lha::DisplayName(header);
}

class Unpacker {
 public:
  Unpacker(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook)
      : files_(files), command_(command), outcome_(outcome), hook_(hook) {}

  void Run() {
    auto in = files_.IsDirectory(command_.archive) ? nullptr : files_.OpenRead(command_.archive);
    if (!in) return outcome_.Fail(kArchiveNotFound, "Cannot open " + command_.archive);
    destination_ = WithoutTrailingBackslash(command_.destination);
    if (command_.verb == 'x' && !CreateFolders(files_, destination_))
      return outcome_.Fail(kCannotWriteFile, "Cannot create " + destination_);
    FileSource source(std::move(in));
    lha::LhaReader reader(source);
    MemberHeader header;
    for (;;) {
      auto read = reader.Next(header);
      if (read == lha::HeaderRead::End) return;
      if (read == lha::HeaderRead::Damaged) return outcome_.Fail(kArchiveDamaged, "Damaged archive");
      if (!Selected(command_.patterns, header)) continue;
      switch (command_.verb) {
        case 'l': outcome_.Line(ListLine(header)); break;
        case 't': Test(reader, header); break;
        default: Extract(reader, header); break;
      }
    }
  }

 private:
  void Test(lha::LhaReader& reader, const MemberHeader& header) {
    const std::string name = lha::DisplayName(header);
    HookProgress progress(hook_, name);
    auto result = reader.Extract(nullptr, &progress);
    if (result == lha::ExtractResult::Ok) outcome_.Line("OK " + name);
    else Report(result, name);
  }

  void Report(lha::ExtractResult result, const std::string& name) {
    static const char* const kWords[] = {"OK", "CRC error", "Damaged", "Unsupported method", "Write error",
                                         "Stopped"};
    outcome_.Fail(CodeFor(result), std::string(kWords[static_cast<int>(result)]) + ": " + name);
  }

  void Extract(lha::LhaReader& reader, const MemberHeader& header) {
    const std::string name = lha::DisplayName(header);
    auto path = lha::SafeMemberPath(header);
    if (!path) return outcome_.Fail(kUnsafeName, "Unsafe name skipped: " + name);
    if (!lha::LhaReader::MethodSupported(header.method))
      return outcome_.Fail(kUnsupportedMethod, "Unsupported method " + header.method + ": " + name);
    std::string target = destination_;
    for (const auto& part : *path) target = Join(target, part);
    if (header.IsDirectory()) {
      if (!CreateFolders(files_, target)) outcome_.Fail(kCannotWriteFile, "Cannot create " + target);
      return;
    }
    if (!CreateFolders(files_, target.substr(0, target.find_last_of('\\'))) || files_.IsDirectory(target))
      return outcome_.Fail(kCannotWriteFile, "Cannot create " + target);
    if (files_.Exists(target) && !command_.overwrite) return outcome_.Fail(kFileExists, "Kept existing " + target);

    // Unpacked into a neighbour first, so a damaged member never replaces a good file.
    const std::string temp = target + ".$$$";
    auto out = files_.OpenWrite(temp);
    if (!out) return outcome_.Fail(kCannotWriteFile, "Cannot create " + temp);
    FileSink sink(*out);
    HookProgress progress(hook_, name);
    auto result = reader.Extract(&sink, &progress);
    if (!out->Close() && result == lha::ExtractResult::Ok) result = lha::ExtractResult::WriteFailed;
    out.reset();
    if (result != lha::ExtractResult::Ok) {
      files_.DeleteFile(temp);
      return Report(result, name);
    }
    if (!Replace(temp, target)) {
      files_.DeleteFile(temp);
      return outcome_.Fail(kCannotWriteFile, "Cannot replace " + target);
    }
    files_.SetModifiedTime(target, header.modified);
    uint32_t attributes = header.attributes & (fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem |
                                               fileattr::kArchive);
    files_.SetAttributes(target, attributes ? attributes : fileattr::kNormal);
    outcome_.Line("Melted " + name);
  }

  bool Replace(const std::string& temp, const std::string& target) {
    if (files_.Exists(target)) {
      auto attributes = files_.Attributes(target);
      if (attributes && (*attributes & fileattr::kReadOnly))
        files_.SetAttributes(target, *attributes & ~fileattr::kReadOnly);
      if (files_.DeleteFile(target) != FsResult::Ok) return false;
    }
    return files_.MoveFile(temp, target) == FsResult::Ok;
  }

  FileSystem& files_;
  const Command& command_;
  Outcome& outcome_;
  const ProgressHook& hook_;
  std::string destination_;
};

// At most maxBytes of text, cut before a character that would not fit whole.
std::string CutUtf8(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

int32_t RunCommand(FileSystem& files, const std::string& commandLine, std::string* output, uint32_t outputSize,
                   const ProgressHook& progress, size_t packedBytesInMemory) {
  Outcome outcome;
  auto command = ParseCommand(commandLine);
  if (!command) {
    outcome.Fail(kBadCommand, "Command not understood: " + commandLine);
  } else if (command->verb == 'a') {
    Packer(files, *command, outcome, progress, packedBytesInMemory).Run();
  } else {
    Unpacker(files, *command, outcome, progress).Run();
  }
  if (output) {
    output->clear();
    if (outputSize > 0) *output = CutUtf8(outcome.log(), outputSize - 1);
  }
  return outcome.code();
}

}  // namespace vorn::unlha
