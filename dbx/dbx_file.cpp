#include "dbx/dbx_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorn {

namespace {
constexpr size_t kWindowSize = 64 * 1024;
constexpr int64_t kLargestPosition = std::numeric_limits<int32_t>::max();
}  // namespace

std::unique_ptr<DbxFile> DbxFile::Open(const FileSystem& files, const std::string& path) {
  return Open([&files, path] { return files.OpenRead(path); });
}

std::unique_ptr<DbxFile> DbxFile::Open(Opener open) {
  auto input = open();
  if (!input) return nullptr;
  return std::unique_ptr<DbxFile>(new DbxFile(std::move(open), std::move(input)));
}

DbxFile::DbxFile(Opener open, std::unique_ptr<InputFile> input)
    : open_(std::move(open)), input_(std::move(input)), window_(kWindowSize) {
  size_ = static_cast<int64_t>(std::min<uint64_t>(input_->Size(), std::numeric_limits<int64_t>::max()));
}

DbxError DbxFile::ReadAt(int64_t position, void* out, size_t size) {
  if (position < 0 || position > kLargestPosition) return DbxError::BadPosition;
  if (size > static_cast<uint64_t>(size_ - position)) return DbxError::PastEndOfFile;
  if (position >= windowStart_ && position + static_cast<int64_t>(size) <= windowStart_ + static_cast<int64_t>(windowLength_)) {
    std::memcpy(out, window_.data() + (position - windowStart_), size);
    return DbxError::None;
  }
  if (DbxError error = MoveTo(static_cast<uint64_t>(position)); error != DbxError::None) return error;
  if (size >= window_.size()) {
    windowLength_ = 0;
    return ReadFromInput(out, size);
  }
  size_t length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(window_.size()), size_ - position));
  windowLength_ = 0;
  if (DbxError error = ReadFromInput(window_.data(), length); error != DbxError::None) return error;
  windowStart_ = position;
  windowLength_ = length;
  std::memcpy(out, window_.data(), size);
  return DbxError::None;
}

DbxError DbxFile::ReadInt32(int64_t position, int32_t& value) {
  unsigned char bytes[4];
  if (DbxError error = ReadAt(position, bytes, sizeof bytes); error != DbxError::None) return error;
  value = DecodeInt32(bytes);
  return DbxError::None;
}

DbxError DbxFile::ReadByte(int64_t position, uint8_t& value) { return ReadAt(position, &value, 1); }

DbxError DbxFile::MoveTo(uint64_t position) {
  if (position == inputPosition_) return DbxError::None;
  if (input_->Seek(position)) {
    inputPosition_ = position;
    return DbxError::None;
  }
  if (position < inputPosition_) {
    auto reopened = open_();
    if (!reopened) return DbxError::ReadFailed;
    input_ = std::move(reopened);
    inputPosition_ = 0;
  }
  unsigned char skipped[4096];
  while (inputPosition_ < position) {
    size_t step = static_cast<size_t>(std::min<uint64_t>(sizeof skipped, position - inputPosition_));
    if (DbxError error = ReadFromInput(skipped, step); error != DbxError::None) return error;
  }
  return DbxError::None;
}

DbxError DbxFile::ReadFromInput(void* out, size_t size) {
  auto* bytes = static_cast<unsigned char*>(out);
  while (size > 0) {
    auto got = input_->Read(bytes, size);
    if (!got) return DbxError::ReadFailed;
    if (*got == 0) return DbxError::PastEndOfFile;
    bytes += *got;
    size -= *got;
    inputPosition_ += *got;
  }
  return DbxError::None;
}

}  // namespace vorn
