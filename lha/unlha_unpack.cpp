#include "lha/unlha_unpack.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <unordered_set>

#include "lha/codec/lha_methods.h"
#include "lha/codec/lha_reader.h"
#include "lha/codec/member_name.h"
#include "lha/unlha_files.h"
#include "lha/unlha_progress.h"
#include "platform/codepage.h"
#include "platform/folder_path.h"
#include "platform/text.h"
#include "platform/wildcard.h"

namespace vorn::unlha {
namespace {

using lha::MemberHeader;

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

// Where a member's folders stand below the destination.
enum class FolderState { Ready, Link, Failed };

class Unpacker {
 public:
  Unpacker(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook)
      : files_(files), command_(command), outcome_(outcome), hook_(hook) {}

  void Run() {
    auto in = files_.IsDirectory(command_.archive) ? nullptr : files_.OpenRead(command_.archive);
    if (!in) return outcome_.Fail(kArchiveNotFound, "Cannot open " + command_.archive);
    destination_ = WithoutTrailingBackslash(command_.destination);
    if (command_.verb == 'x') {
      if (!files_.IsDirectory(destination_) && !CreateDestination())
        return outcome_.Fail(kCannotWriteFile, "Cannot create " + destination_);
      readyFolders_.insert(AsciiLower(destination_));
    }
    FileSource source(std::move(in));
    lha::LhaReader reader(source);
    MemberHeader header;
    for (;;) {
      auto read = reader.Next(header);
      if (read == lha::HeaderRead::End) return;
      // Only a test vouches for the whole archive; a listing or an extraction says what it found.
      if (read == lha::HeaderRead::EndWithoutMark) {
        if (command_.verb == 't') return outcome_.Fail(kArchiveDamaged, "Damaged archive: no end mark, members may be missing");
        return outcome_.Line("Warning: the archive has no end mark, members may be missing");
      }
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
  // The destination the caller names may be a path of several missing folders.
  bool CreateDestination() {
    return Utf8ToCp932(destination_).size() <= kMaxFolderPathBytes && CreateFolderPath(files_, Join(destination_, ""));
  }

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

  // Makes sure the folders of a member's path (its first `count` components) are real folders
  // below the destination, creating what is missing. Folders found ready are remembered, so each
  // is looked at once per run.
  FolderState PrepareFolders(const std::vector<std::string>& path, size_t count, std::string& folder) {
    folder = destination_;
    std::vector<std::string> prefixes;
    for (size_t i = 0; i < count; ++i) prefixes.push_back(folder = Join(folder, path[i]));
    if (readyFolders_.count(AsciiLower(folder))) return FolderState::Ready;
    for (const std::string& prefix : prefixes) {
      const std::string key = AsciiLower(prefix);
      if (readyFolders_.count(key)) continue;
      folder = prefix;
      auto attributes = files_.Attributes(prefix);
      if (attributes && (*attributes & fileattr::kReparsePoint)) return FolderState::Link;
      if (attributes && !(*attributes & fileattr::kDirectory)) return FolderState::Failed;
      if (!attributes && files_.CreateDirectory(prefix) != FsResult::Ok) return FolderState::Failed;
      readyFolders_.insert(key);
    }
    return FolderState::Ready;
  }

  // Whether the member's folders and file fit Windows' bounds below the destination, measured in
  // the stored code page 932 bytes before anything else is made of a name that may be very long.
  bool FitsBelowDestination(const MemberHeader& header) const {
    size_t length = Utf8ToCp932(destination_).size() - (destination_.back() == '\\' ? 1 : 0);
    std::vector<size_t> ends;
    for (const auto& part : header.path)
      if (part != ".") ends.push_back(length += 1 + part.size());
    for (size_t i = 0; i < ends.size(); ++i) {
      const bool isFile = !header.IsDirectory() && i + 1 == ends.size();
      if (ends[i] > (isFile ? kMaxPathBytes : kMaxFolderPathBytes)) return false;
    }
    return true;
  }

  void Extract(lha::LhaReader& reader, const MemberHeader& header) {
    const std::string name = lha::DisplayName(header);
    if (!FitsBelowDestination(header)) return outcome_.Fail(kCannotWriteFile, "Path too long for Windows, skipped: " + name);
    auto path = lha::SafeMemberPath(header);
    if (!path) return outcome_.Fail(kUnsafeName, "Unsafe name skipped: " + name);
    if (!lha::MethodSupported(header.method))
      return outcome_.Fail(kUnsupportedMethod, "Unsupported method " + header.method + ": " + name);
    const bool directory = header.IsDirectory();
    std::string target = destination_;
    for (const auto& part : *path) target = Join(target, part);
    std::string folder;
    switch (PrepareFolders(*path, directory ? path->size() : path->size() - 1, folder)) {
      case FolderState::Ready: break;
      case FolderState::Link: return outcome_.Fail(kLinkNotFollowed, "Link not followed, skipped: " + name + " (" + folder + ")");
      case FolderState::Failed: return outcome_.Fail(kCannotWriteFile, "Cannot create " + folder);
    }
    if (directory) return;

    if (auto existing = files_.Attributes(target)) {
      if (*existing & fileattr::kReparsePoint)
        return outcome_.Fail(kLinkNotFollowed, "Link not followed, skipped: " + name + " (" + target + ")");
      if (*existing & fileattr::kDirectory) return outcome_.Fail(kCannotWriteFile, "Cannot create " + target);
      if (!command_.overwrite) return outcome_.Fail(kFileExists, "Kept existing " + target);
    }
    // Unpacked into a file of our own first, so a damaged member never replaces a good file.
    auto temp = TempFile::Create(files_, folder);
    if (!temp) return outcome_.Fail(kCannotWriteFile, "Cannot create a temporary file in " + folder);
    FileSink sink(temp->out());
    HookProgress progress(hook_, name);
    auto result = reader.Extract(&sink, &progress);
    if (!temp->Close() && result == lha::ExtractResult::Ok) result = lha::ExtractResult::WriteFailed;
    if (result != lha::ExtractResult::Ok) return Report(result, name);
    std::string leftOver;
    if (!temp->MoveTo(target, &leftOver)) return outcome_.Fail(kCannotWriteFile, "Cannot replace " + target);
    if (!leftOver.empty()) outcome_.Line("The replaced file is left as " + leftOver);
    files_.SetModifiedTime(target, header.modified);
    uint32_t attributes = header.attributes & (fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem |
                                               fileattr::kArchive);
    files_.SetAttributes(target, attributes ? attributes : fileattr::kNormal);
    outcome_.Line("Melted " + name);
  }

  FileSystem& files_;
  const Command& command_;
  Outcome& outcome_;
  const ProgressHook& hook_;
  std::string destination_;
  std::unordered_set<std::string> readyFolders_;
};

}  // namespace

void Unpack(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook) {
  Unpacker(files, command, outcome, hook).Run();
}

}  // namespace vorn::unlha
