#include "lha/codec/lha_reader.h"

#include "lha/codec/crc16.h"
#include "lha/codec/lha_methods.h"
#include "lha/codec/lzh_decoder.h"
#include "lha/codec/macbinary.h"

namespace vorn::lha {
namespace {

class NullSink : public ByteSink {
 public:
  bool Write(const void*, size_t) override { return true; }
};

ExtractResult CopyStored(BufferedSource& in, uint64_t size, ByteSink& out, uint16_t& crc, Progress* progress) {
  uint64_t done = 0;
  while (done < size) {
    auto [data, n] = in.Peek(static_cast<size_t>(std::min<uint64_t>(size - done, 1 << 20)));
    if (n == 0) return ExtractResult::Damaged;
    crc = UpdateCrc16(crc, data, n);
    if (!out.Write(data, n)) return ExtractResult::WriteFailed;
    in.Consume(n);
    done += n;
    if (progress && !progress->Advance(done, size)) return ExtractResult::Stopped;
  }
  return ExtractResult::Ok;
}

}  // namespace

HeaderRead LhaReader::Next(MemberHeader& header) {
  if (damaged_) return HeaderRead::Damaged;
  if (unread_ > 0 && !in_.Skip(unread_)) {
    damaged_ = true;
    return HeaderRead::Damaged;
  }
  unread_ = 0;
  HeaderRead result = ReadMemberHeader(in_, header);
  if (result == HeaderRead::Damaged) damaged_ = true;
  if (result != HeaderRead::Member) return result;
  current_ = header;
  unread_ = header.packedSize;
  return result;
}

bool LhaReader::CopyPacked(ByteSink& out) {
  while (unread_ > 0) {
    auto [data, n] = in_.Peek(static_cast<size_t>(std::min<uint64_t>(unread_, 1 << 20)));
    if (n == 0 || !out.Write(data, n)) {
      damaged_ = true;
      return false;
    }
    in_.Consume(n);
    unread_ -= n;
  }
  return true;
}

ExtractResult LhaReader::Extract(ByteSink* out, Progress* progress) {
  const uint64_t packed = unread_;
  const auto method = FindMethod(current_.method);
  if (current_.IsDirectory()) return ExtractResult::Ok;
  if (!method || method->kind == MethodKind::Unsupported) return ExtractResult::UnsupportedMethod;
  unread_ = 0;
  NullSink discard;
  ByteSink& target = out ? *out : discard;
  MacBinaryUnwrapper sink(target, current_);
  uint16_t crc = 0;
  ExtractResult result;
  const uint64_t start = in_.position();
  if (method->kind == MethodKind::Stored) {
    result = packed == current_.originalSize ? CopyStored(in_, packed, sink, crc, progress)
                                              : ExtractResult::Damaged;
  } else {
    switch (DecodeLzh(method->dictionaryBits, in_, packed, current_.originalSize, sink, crc, progress)) {
      case DecodeResult::Ok: result = ExtractResult::Ok; break;
      case DecodeResult::WriteFailed: result = ExtractResult::WriteFailed; break;
      case DecodeResult::Stopped: result = ExtractResult::Stopped; break;
      default: result = ExtractResult::Damaged; break;
    }
  }
  if (result == ExtractResult::Ok && !sink.Finish()) result = ExtractResult::WriteFailed;
  // Whatever happened inside the data, the next header follows it.
  const uint64_t used = in_.position() - start;
  if (in_.failed() || used > packed || !in_.Skip(packed - used)) {
    damaged_ = true;
    return ExtractResult::Damaged;
  }
  if (result != ExtractResult::Ok) return result;
  return crc == current_.crc ? ExtractResult::Ok : ExtractResult::CrcMismatch;
}

}  // namespace vorn::lha
