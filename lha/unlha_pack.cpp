#include "lha/unlha_pack.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <set>

#include "lha/codec/lha_reader.h"
#include "lha/codec/lha_writer.h"
#include "lha/codec/member_name.h"
#include "lha/unlha_files.h"
#include "lha/unlha_progress.h"
#include "platform/text.h"
#include "platform/thread.h"
#include "platform/wildcard.h"

namespace vorn::unlha {
namespace {

using lha::MemberHeader;

// Spill storage in a temporary file beside the archive; the lock serialises its file system calls
// with those of other threads.
class FileSpill : public lha::SpillStorage {
 public:
  FileSpill(FileSystem& files, Mutex& lock, std::string folder)
      : files_(files), lock_(lock), folder_(std::move(folder)) {}
  ~FileSpill() override { Discard(); }
  bool Begin() override {
    std::lock_guard guard(lock_);
    file_ = TempFile::Create(files_, folder_);
    return file_ != nullptr;
  }
  bool Write(const void* data, size_t size) override { return file_ && file_->out().Write(data, size); }
  std::unique_ptr<lha::ByteSource> ReadBack() override {
    if (!file_ || !file_->Close()) return nullptr;
    std::lock_guard guard(lock_);
    auto in = files_.OpenRead(file_->path());
    return in ? std::make_unique<FileSource>(std::move(in)) : nullptr;
  }
  void Discard() override {
    std::lock_guard guard(lock_);
    file_.reset();
  }

 private:
  FileSystem& files_;
  Mutex& lock_;
  std::string folder_;
  std::unique_ptr<TempFile> file_;
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

// Members count as the same when their UTF-8 paths differ only in ASCII case, as on Windows.
std::string MemberKey(const std::string& displayName) { return AsciiLower(displayName); }

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
      : files_(files), command_(command), outcome_(outcome), hook_(hook), memoryLimit_(packedBytesInMemory) {}

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
  void Collect(const std::string& folder, const std::vector<std::string>& relative, const std::string& pattern) {
    auto listed = files_.List(folder, "*");
    std::sort(listed.begin(), listed.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    for (const auto& entry : listed) {
      const std::string path = Join(folder, entry.name);
      if (!command_.allAttributes && (entry.attributes & (fileattr::kHidden | fileattr::kSystem))) continue;
      if (EqualsIgnoringAsciiCase(path, command_.archive)) continue;
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

  // The new archive is written to a temporary file beside the old one and takes its place at the end.
  void Write() {
    auto temp = TempFile::Create(files_, FolderOf(command_.archive));
    if (!temp) return outcome_.Fail(kCannotWriteArchive, "Cannot create a temporary file beside " + command_.archive);
    FileSink sink(temp->out());
    lha::LhaWriter writer(sink, nullptr);
    if (!KeepOldMembers(sink) || !AddEntries(writer)) return;
    if (!writer.Finish() || !temp->Close()) return outcome_.Fail(kCannotWriteArchive, "Cannot write " + temp->path());
    std::string leftOver;
    if (!temp->MoveTo(command_.archive, &leftOver))
      return outcome_.Fail(kCannotWriteArchive, "Cannot replace " + command_.archive);
    if (!leftOver.empty()) outcome_.Line("The old archive is left as " + leftOver);
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
      // Members of an archive cut short are kept as far as it goes.
      if (read == lha::HeaderRead::End || read == lha::HeaderRead::EndWithoutMark) return true;
      if (read == lha::HeaderRead::Damaged)
        return outcome_.Fail(kArchiveDamaged, "Damaged archive: " + command_.archive), false;
      if (storedNames_.count(MemberKey(lha::DisplayName(header)))) continue;
      std::string bytes = lha::EncodeLevel2Header(header);
      if (!sink.Write(bytes.data(), bytes.size()) || !reader.CopyPacked(sink))
        return outcome_.Fail(kCannotWriteArchive, "Cannot write the new archive"), false;
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
      spills.push_back(std::make_unique<FileSpill>(files_, filesLock_, FolderOf(command_.archive)));
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
  std::set<std::string> storedNames_;
  std::vector<PackEntry> entries_;
};

}  // namespace

void Pack(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook,
          size_t packedBytesInMemory) {
  Packer(files, command, outcome, hook, packedBytesInMemory).Run();
}

}  // namespace vorn::unlha
