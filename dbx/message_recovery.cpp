#include "dbx/message_recovery.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>

#include "dbx/dbx_reader.h"
#include "platform/folder_path.h"

namespace vorn {

namespace {

constexpr int64_t kLiveHeader = 0x10;
constexpr int64_t kFreedHeader = 0x14;
constexpr int64_t kFreedGrowth = 0x14;  // a freed object's length over its body
constexpr int64_t kLargestBody = int64_t{1} << 20;  // the mail program's blocks hold 0x200
constexpr int64_t kLargestPosition = std::numeric_limits<int32_t>::max();
constexpr size_t kBufferSize = size_t{1} << 20;
constexpr size_t kScanWindow = 64 * 1024;
constexpr size_t kHeldHeader = 64 * 1024;   // a message's head held until its kind is known
constexpr size_t kMaxOpenChains = 256;
constexpr size_t kPrintableLead = 16;

// One block as its header describes it.
struct Block {
  bool freed = false;
  int64_t at = 0;
  int64_t body = 0;        // bytes the block takes after its header
  int64_t text = 0;        // file offset of its text
  int64_t textLength = 0;  // as stored; a freed block's text ends at its first NUL when last
  int64_t next = 0;
};

// The block whose header is `h` (at least kFreedHeader bytes, fewer at the file's end) at `at`.
std::optional<Block> ParseBlock(const unsigned char* h, size_t available, int64_t at) {
  if (available < static_cast<size_t>(kLiveHeader) || DecodeInt32(h) != at) return std::nullopt;
  const int64_t body = DecodeInt32(h + 4);
  const int64_t third = DecodeInt32(h + 8);
  const int64_t next = DecodeInt32(h + 12);
  if (body < 1 || body > kLargestBody || next < 0 || next == at) return std::nullopt;
  Block block;
  block.at = at;
  block.body = body;
  block.next = next;
  if (third >= 1 && third <= body) {
    block.text = at + kLiveHeader;
    block.textLength = third;
    return block;
  }
  if (third == body + kFreedGrowth && body > static_cast<int64_t>(kPrintableLead) - 4 &&
      available >= static_cast<size_t>(kFreedHeader)) {
    block.freed = true;
    block.text = at + kFreedHeader;
    block.textLength = body;
    return block;
  }
  return std::nullopt;
}

// The first line of a stored message is a header field: a name of visible characters and ":".
bool StartsLikeMessage(const unsigned char* text, size_t length) {
  size_t i = 0;
  while (i < length && text[i] > 0x20 && text[i] < 0x7F && text[i] != ':') ++i;
  return i > 0 && i < length && text[i] == ':';
}

// A freed message has lost its first 4 bytes; what follows is still header text.
bool LooksLikeText(const unsigned char* text, size_t length) {
  if (length < kPrintableLead) return false;
  for (size_t i = 0; i < kPrintableLead; ++i)
    if ((text[i] < 0x20 || text[i] >= 0x7F) && text[i] != '\r' && text[i] != '\n' && text[i] != '\t') return false;
  return true;
}

bool NamesNewsgroups(const std::string& head) {
  static const char kField[] = "newsgroups:";
  const size_t fieldLength = sizeof kField - 1;
  for (size_t line = 0; line < head.size();) {
    if (head.compare(line, 2, "\r\n") == 0 || head.compare(line, 1, "\n") == 0) return false;  // end of the header
    if (head.size() - line >= fieldLength &&
        std::equal(kField, kField + fieldLength, head.begin() + static_cast<std::ptrdiff_t>(line),
                   [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); }))
      return true;
    const size_t end = head.find('\n', line);
    if (end == std::string::npos) break;
    line = end + 1;
  }
  return false;
}

bool HeaderComplete(const std::string& held) {
  return held.find("\r\n\r\n") != std::string::npos || held.find("\n\n") != std::string::npos;
}

// Sequential reads through one buffer; a position once passed is never asked for again.
class ForwardReader {
 public:
  explicit ForwardReader(std::unique_ptr<InputFile> input) : input_(std::move(input)), buffer_(kBufferSize) {}

  // The `size` bytes at `position` (size at most kBufferSize), or null past the end or on a read error.
  const unsigned char* At(int64_t position, size_t size) {
    const int64_t end = start_ + static_cast<int64_t>(length_);
    if (position < start_) return nullptr;
    if (position + static_cast<int64_t>(size) <= end) return buffer_.data() + (position - start_);
    if (position >= end) {
      if (!Skip(position - end)) return nullptr;
      length_ = 0;
    } else {
      const size_t keep = static_cast<size_t>(end - position);
      std::memmove(buffer_.data(), buffer_.data() + (position - start_), keep);
      length_ = keep;
    }
    start_ = position;
    while (length_ < size) {
      auto got = input_->Read(buffer_.data() + length_, buffer_.size() - length_);
      if (!got) {
        failed_ = true;
        return nullptr;
      }
      if (*got == 0) return nullptr;
      length_ += *got;
    }
    return buffer_.data();
  }
  bool Failed() const { return failed_; }

 private:
  bool Skip(int64_t count) {
    const uint64_t target = static_cast<uint64_t>(start_) + length_ + static_cast<uint64_t>(count);
    if (count == 0 || input_->Seek(target)) return true;
    while (count > 0) {
      auto got = input_->Read(buffer_.data(), static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer_.size()))));
      if (!got || *got == 0) return (failed_ = !got, false);
      count -= static_cast<int64_t>(*got);
    }
    return true;
  }

  std::unique_ptr<InputFile> input_;
  std::vector<unsigned char> buffer_;
  int64_t start_ = 0;
  size_t length_ = 0;
  bool failed_ = false;
};

struct Chain {
  bool freed = false;
  int64_t head = 0;
  std::unordered_set<int64_t> visited;
  std::string held;
  bool named = false;
  std::string folder;
  std::string name;
  int32_t number = 0;
  bool news = false;
  std::unique_ptr<OutputFile> out;
  std::optional<unsigned char> lastByte;
};

class Recovery {
 public:
  // Without a file system the run only counts: nothing is written.
  Recovery(DbxFile::Opener open, FileSystem* files, const std::string& outputFolder)
      : open_(std::move(open)), files_(files), outputFolder_(outputFolder) {}

  RecoveryReport Run() {
    auto input = open_();
    if (!input) {
      Stop(DbxError::CannotOpen);
      return std::move(report_);
    }
    size_ = static_cast<int64_t>(std::min<uint64_t>(input->Size(), static_cast<uint64_t>(kLargestPosition) + kLiveHeader));
    ForwardReader reader(std::move(input));
    if (files_) CreateFolderPath(*files_, outputFolder_);
    for (int64_t position = 0; position + kLiveHeader <= size_ && report_.error == DbxError::None;) {
      CutPassed(position);
      const size_t window = static_cast<size_t>(std::min<int64_t>(size_ - position, static_cast<int64_t>(kScanWindow)));
      const unsigned char* bytes = reader.At(position, window);
      if (!bytes) break;
      const size_t last = window - static_cast<size_t>(kLiveHeader);
      size_t q = 0;
      std::optional<Block> block;
      for (; q <= last; ++q) {
        const int64_t at = position + static_cast<int64_t>(q);
        if (bytes[q] != static_cast<unsigned char>(at) || DecodeInt32(bytes + q) != at) continue;
        if ((block = ParseBlock(bytes + q, window - q, at))) break;
      }
      if (!block) {
        position += static_cast<int64_t>(last) + 1;
        continue;
      }
      CutPassed(block->at);
      position = Take(reader, *block);
    }
    if (reader.Failed() && report_.error == DbxError::None) report_.error = DbxError::ReadFailed;
    for (auto* open : {&expectedLive_, &expectedFreed_})
      while (!open->empty()) Finish(Release(*open, open->begin()->first), true);
    return std::move(report_);
  }

 private:
  using Expected = std::map<int64_t, std::unique_ptr<Chain>>;

  void Stop(DbxError error) {
    if (report_.error == DbxError::None) report_.error = error;
  }

  static std::unique_ptr<Chain> Release(Expected& expected, int64_t at) {
    auto found = expected.find(at);
    if (found == expected.end()) return nullptr;
    auto chain = std::move(found->second);
    expected.erase(found);
    return chain;
  }

  // A chain waiting for a block the scan has passed without finding it is broken there.
  void CutPassed(int64_t position) {
    for (auto* expected : {&expectedLive_, &expectedFreed_})
      while (!expected->empty() && expected->begin()->first < position)
        Finish(Release(*expected, expected->begin()->first), true);
  }

  // Takes the block found at its place in the scan; returns where the scan goes on.
  int64_t Take(ForwardReader& reader, const Block& block) {
    const int64_t after = block.text + block.textLength;
    const int64_t resume = std::max(block.at + 1, std::min(size_, block.at + (block.freed ? kFreedHeader : kLiveHeader) + block.body));
    Expected& own = block.freed ? expectedFreed_ : expectedLive_;
    Expected& other = block.freed ? expectedLive_ : expectedFreed_;
    // A freed chain that leads into a block in use, or a live one that leads into free space, ends there.
    if (auto broken = Release(other, block.at)) Finish(std::move(broken), true);
    auto chain = Release(own, block.at);
    if (!chain) {
      const size_t lead = static_cast<size_t>(std::min<int64_t>(std::min(block.textLength, size_ - block.text), 256));
      const unsigned char* text = lead ? reader.At(block.text, lead) : nullptr;
      const bool starts = text && (block.freed ? LooksLikeText(text, lead) : StartsLikeMessage(text, lead));
      // A block no chain leads to that does not open a message is the rest of a chain whose start is gone.
      if (!starts || expectedLive_.size() + expectedFreed_.size() >= kMaxOpenChains) return resume;
      chain = std::make_unique<Chain>();
      chain->freed = block.freed;
      chain->head = block.at;
    }
    chain->visited.insert(block.at);
    const int64_t available = std::min(after, size_) - block.text;
    const bool ends = block.next == 0;
    for (int64_t done = 0; done < available;) {
      const size_t step = static_cast<size_t>(std::min<int64_t>(available - done, static_cast<int64_t>(kBufferSize)));
      const unsigned char* text = reader.At(block.text + done, step);
      if (!text) {
        Finish(std::move(chain), true);
        return size_;
      }
      const size_t used = ends && block.freed ? TextBeforeNul(text, step) : step;
      Append(*chain, text, used);
      if (used != step) break;
      done += static_cast<int64_t>(step);
    }
    if (after > size_) {
      Finish(std::move(chain), true);
      return size_;
    }
    Follow(std::move(chain), block.next, block.at);
    return resume;
  }

  // A freed chain's last block holds its text up to the first NUL.
  static size_t TextBeforeNul(const unsigned char* text, size_t size) {
    const void* nul = std::memchr(text, 0, size);
    return nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - text) : size;
  }

  // Goes on from a block to `next`: the end, a block further on that the scan will reach, or one
  // already passed, read at once.
  void Follow(std::unique_ptr<Chain> chain, int64_t next, int64_t at) {
    while (next != 0) {
      if (next + kLiveHeader > size_) return Finish(std::move(chain), true);
      if (next > at) {
        Expected& own = chain->freed ? expectedFreed_ : expectedLive_;
        if (own.count(next)) return Finish(std::move(chain), true);
        own.emplace(next, std::move(chain));
        return;
      }
      if (!chain->visited.insert(next).second) return Finish(std::move(chain), true);
      std::optional<Block> block = ReadPassedBlock(next);
      if (!block || block->freed != chain->freed) return Finish(std::move(chain), true);
      if (!CopyPassedText(*chain, *block)) return Finish(std::move(chain), true);
      next = block->next;
    }
    Finish(std::move(chain), false);
  }

  std::optional<Block> ReadPassedBlock(int64_t at) {
    if (!random_ && !(random_ = DbxFile::Open(open_))) return std::nullopt;
    unsigned char header[kFreedHeader];
    const size_t available = static_cast<size_t>(std::min<int64_t>(kFreedHeader, size_ - at));
    if (random_->ReadAt(at, header, available) != DbxError::None) return std::nullopt;
    return ParseBlock(header, available, at);
  }

  bool CopyPassedText(Chain& chain, const Block& block) {
    std::vector<unsigned char> text(static_cast<size_t>(block.textLength));
    if (block.text + block.textLength > size_ ||
        random_->ReadAt(block.text, text.data(), text.size()) != DbxError::None)
      return false;
    size_t length = text.size();
    if (block.freed && block.next == 0) length = TextBeforeNul(text.data(), length);
    Append(chain, text.data(), length);
    return true;
  }

  void Append(Chain& chain, const unsigned char* data, size_t size) {
    if (size == 0 || report_.error != DbxError::None) return;
    chain.lastByte = data[size - 1];
    if (chain.named) {
      // The blocks are small: they go out gathered into large writes.
      chain.held.append(reinterpret_cast<const char*>(data), size);
      if (chain.held.size() >= kHeldHeader) Flush(chain);
      return;
    }
    chain.held.append(reinterpret_cast<const char*>(data), size);
    if (chain.held.size() >= kHeldHeader || HeaderComplete(chain.held)) Name(chain, false);
  }

  // Gives the message its number and file once its header tells news from mail.
  void Name(Chain& chain, bool cut) {
    chain.named = true;
    const bool news = chain.news = NamesNewsgroups(chain.held);
    int32_t& number = numbers_[chain.freed][news];
    if (!files_) {
      chain.number = number++;
      chain.name = RecoveredFileName(chain.number, news, cut);
      chain.held.clear();
      return;
    }
    chain.folder = outputFolder_;
    if (chain.freed) {
      chain.folder += "deleted\\";
      CreateFolderPath(*files_, chain.folder);
    }
    for (;; ++number) {
      if (number == std::numeric_limits<int32_t>::max()) return Stop(DbxError::CounterOverflow);
      chain.number = number;
      chain.name = RecoveredFileName(number, news, cut);
      FsResult result = FsResult::Ok;
      chain.out = files_->CreateNewFile(chain.folder + chain.name, result);
      if (chain.out) break;
      if (result != FsResult::AlreadyExists) return Stop(DbxError::CannotCreate);
    }
    ++number;
    Flush(chain);
  }

  void Flush(Chain& chain) {
    if (!chain.held.empty() && chain.out && !chain.out->Write(chain.held.data(), chain.held.size())) Stop(DbxError::WriteFailed);
    chain.held.clear();
  }

  void Finish(std::unique_ptr<Chain> chain, bool cut) {
    if (!chain) return;
    const bool namedWhole = chain->named;
    if (!chain->named) Name(*chain, cut);
    if (files_ && !chain->out) return;
    Flush(*chain);
    if (chain->out) {
      if (!cut && chain->lastByte && *chain->lastByte != '\n' && !chain->out->Write("\r\n", 2)) Stop(DbxError::WriteFailed);
      if (!chain->out->Close()) Stop(DbxError::WriteFailed);
    }
    if (cut && namedWhole) {
      const std::string cutName = RecoveredFileName(chain->number, chain->news, true);
      if (!files_ || files_->MoveFile(chain->folder + chain->name, chain->folder + cutName) == FsResult::Ok) chain->name = cutName;
    }
    if (chain->freed) {
      ++report_.deleted;
      if (cut) ++report_.deletedCut;
    } else {
      ++(cut ? report_.cut : report_.whole);
      if (chain->news) ++report_.news;
      if (!cut) report_.wholeHeads.push_back(static_cast<int32_t>(chain->head));
    }
    if (cut) report_.cutFiles.push_back((chain->freed ? "deleted\\" : "") + chain->name);
  }

  DbxFile::Opener open_;
  FileSystem* files_;
  std::string outputFolder_;
  int64_t size_ = 0;
  std::unique_ptr<DbxFile> random_;  // for chains that lead back to blocks already passed
  Expected expectedLive_;
  Expected expectedFreed_;
  int32_t numbers_[2][2] = {};  // [freed][news]
  RecoveryReport report_;
};

}  // namespace

std::string RecoveredFileName(int32_t number, bool news, bool cut) {
  std::string digits = std::to_string(number);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return digits + (cut ? "-cut" : "") + (news ? ".nws" : ".eml");
}

RecoveryReport RecoverMessages(DbxFile::Opener open, FileSystem& files, const std::string& outputFolder) {
  return Recovery(std::move(open), &files, outputFolder).Run();
}

RecoveryReport CountRecoverableMessages(DbxFile::Opener open) { return Recovery(std::move(open), nullptr, "").Run(); }

RecoveryReport RecoverMessages(FileSystem& files, const std::string& folderFilePath, const std::string& outputFolder) {
  return RecoverMessages([&files, folderFilePath] { return files.OpenRead(folderFilePath); }, files, outputFolder);
}

bool IndexAgreesWithRecovery(DbxFile& file, const RecoveryReport& report) {
  if (report.cut != 0 || report.error != DbxError::None) return false;
  int32_t count = 0;
  int32_t root = 0;
  std::vector<int32_t> records;
  if (ReadMessageCount(file, count) != DbxError::None) return false;
  if (count == 0) return report.whole == 0;
  if (ReadIndexRoot(file, root) != DbxError::None || CollectMessageInfoOffsets(file, root, records) != DbxError::None ||
      records.size() != static_cast<size_t>(count))
    return false;
  std::vector<int32_t> pointers;
  for (int32_t record : records) {
    MessageInfo info;
    if (ClassifyMessageInfo(file, record, info) != DbxError::None || info.kind == MessageKind::Unclassified) return false;
    if (info.pointer != 0) pointers.push_back(info.pointer);
  }
  std::vector<int32_t> heads = report.wholeHeads;
  std::sort(pointers.begin(), pointers.end());
  std::sort(heads.begin(), heads.end());
  return pointers == heads;
}

}  // namespace vorn
