#pragma once
// Writing an LHA archive: level-2 headers, -lh5- members, -lh0- where packing does not shrink.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lha/codec/byte_stream.h"
#include "lha/codec/member_header.h"

namespace vorn::lha {

// Where a member's packed bytes wait once they outgrow memory, until its header is written.
class SpillStorage {
 public:
  virtual ~SpillStorage() = default;
  // Starts empty storage.
  virtual bool Begin() = 0;
  virtual bool Write(const void* data, size_t size) = 0;
  // Ends writing and reads everything back from the start.
  virtual std::unique_ptr<ByteSource> ReadBack() = 0;
  virtual void Discard() = 0;
};

enum class AddResult { Ok, ReadFailed, SourceChanged, WriteFailed, Stopped };

// Opens a member's original data; called a second time when the member is stored unpacked.
using SourceOpener = std::function<std::unique_ptr<ByteSource>()>;

class Spool;

// One member's data packed ahead of writing: its header and packed bytes, or the finding that it
// is stored as it is.
struct PackedMember {
  PackedMember();
  ~PackedMember();
  AddResult result = AddResult::Ok;
  MemberHeader header;
  std::unique_ptr<Spool> packed;  // null when stored
};

class LhaWriter {
 public:
  // spill may be null: packed data then stays in memory.
  LhaWriter(ByteSink& archive, SpillStorage* spill, size_t memoryLimit = size_t{16} << 20);

  // header gives path, modified, attributes and the expected size (for progress only);
  // method, sizes and CRC are filled in here.
  AddResult AddFile(MemberHeader header, const SourceOpener& open, Progress* progress = nullptr);
  bool AddDirectory(MemberHeader header);
  // Writes the end mark.
  bool Finish();

  // AddFile in two steps. Pack touches no writer state, so members may be packed on other
  // threads at once (each with its own spill storage); Write then adds them in order.
  static std::unique_ptr<PackedMember> Pack(MemberHeader header, const SourceOpener& open, SpillStorage* spill,
                                            size_t memoryLimit, Progress* progress);
  // open is called again for a member stored as it is.
  AddResult Write(PackedMember& member, const SourceOpener& open, Progress* progress);

 private:
  AddResult CopyStored(const MemberHeader& header, const SourceOpener& open, Progress* progress);
  ByteSink& archive_;
  SpillStorage* spill_;
  size_t memoryLimit_;
};

}  // namespace vorn::lha
