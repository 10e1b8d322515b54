#include "setread/mbox_writer.h"

#include <string>
#include <string_view>
#include <vector>

#include "dbx/dbx_reader.h"
#include "setread/message_head.h"

namespace vorn {
namespace {

// The start of a message, up to the end of its header; refuses more, which ends the copy early.
class HeadCapture : public OutputFile {
 public:
  static constexpr size_t kLimit = 64 * 1024;
  bool Write(const void* data, size_t size) override {
    const size_t take = std::min(size, kLimit - head.size());
    head.append(static_cast<const char*>(data), take);
    return !Complete() && take == size;
  }
  bool Close() override { return true; }
  bool Complete() const {
    return head.size() >= kLimit || head.find("\n\n") != std::string::npos || head.find("\n\r\n") != std::string::npos;
  }
  std::string head;
};

// The message text on its way into the mbox file: CR LF to LF, and mboxrd quoting of "From " lines.
class MboxrdText : public OutputFile {
 public:
  explicit MboxrdText(OutputFile& out) : out_(out) { buffer_.reserve(kBufferSize); }

  bool Begin(const std::string& fromLine) {
    buffer_.append(fromLine).append(1, '\n');
    atLineStart_ = true;
    last_ = '\n';
    return Drain(false);
  }
  bool Write(const void* data, size_t size) override {
    const char* bytes = static_cast<const char*>(data);
    for (size_t i = 0; i < size; ++i) Put(bytes[i]);
    return Drain(false);
  }
  bool Close() override { return true; }
  // The message ends on a line end, then the empty line between messages.
  bool End() {
    if (pendingCr_) Emit('\r');
    pendingCr_ = false;
    EndPrefix();
    if (last_ != '\n') Emit('\n');
    Emit('\n');
    return Drain(true);
  }

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  static constexpr std::string_view kFrom = "From ";

  void Put(char c) {
    if (pendingCr_) {
      pendingCr_ = false;
      if (c == '\n') return Emit('\n');
      Emit('\r');
    }
    if (c == '\r') {
      EndPrefix();
      pendingCr_ = true;
      return;
    }
    if (atLineStart_) {
      const size_t quotes = prefix_.find_first_not_of('>');
      const size_t from = quotes == std::string::npos ? 0 : prefix_.size() - quotes;  // of "From " so far
      if ((from == 0 && c == '>') || c == kFrom[from]) {
        prefix_ += c;
        if (from + 1 == kFrom.size()) {
          buffer_ += '>';
          EndPrefix();
        }
        return;
      }
      EndPrefix();
    }
    Emit(c);
  }
  // Whatever of a line's start was held back goes out as it was.
  void EndPrefix() {
    if (!prefix_.empty()) {
      buffer_ += prefix_;
      last_ = prefix_.back();
      prefix_.clear();
    }
    atLineStart_ = false;
  }
  void Emit(char c) {
    buffer_ += c;
    last_ = c;
    atLineStart_ = c == '\n';
  }
  bool Drain(bool all) {
    if (!all && buffer_.size() < kBufferSize) return true;
    const bool ok = buffer_.empty() || out_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }

  OutputFile& out_;
  std::string buffer_;
  std::string prefix_;  // ">" signs and the start of "From " at the start of a line
  bool atLineStart_ = true;
  bool pendingCr_ = false;
  char last_ = '\n';
};

DbxError WriteMessage(DbxFile& file, int32_t pointer, MboxrdText& mbox) {
  HeadCapture capture;
  // The copy ends with an error once the header is captured; a real one shows again below.
  CopyMessageText(file, pointer, capture);
  if (!mbox.Begin(MboxFromLine(capture.head))) return DbxError::WriteFailed;
  const DbxError error = CopyMessageText(file, pointer, mbox);
  if (!mbox.End() && error == DbxError::None) return DbxError::WriteFailed;
  return error;
}

}  // namespace

MboxFolderResult WriteMboxFolder(DbxFile& file, OutputFile& out, const std::function<void(int32_t)>& written) {
  MboxFolderResult result;
  std::vector<int32_t> records;
  int32_t root = 0;
  DbxError walk = ReadIndexRoot(file, root);
  if (walk == DbxError::None) walk = CollectMessageInfoOffsets(file, root, records);
  MboxrdText mbox(out);
  for (int32_t record : records) {
    MessageInfo info;
    if ((result.error = ClassifyMessageInfo(file, record, info)) != DbxError::None) return result;
    if (info.kind == MessageKind::Unclassified) continue;
    if ((result.error = WriteMessage(file, info.pointer, mbox)) != DbxError::None) return result;
    ++result.messages;
    if (written) written(result.messages);
  }
  result.error = walk;
  return result;
}

}  // namespace vorn
