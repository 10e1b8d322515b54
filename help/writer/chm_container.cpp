#include "help/writer/chm_container.h"

#include <algorithm>
#include <stdexcept>

#include "help/writer/byte_builder.h"
#include "help/writer/lzx_stored.h"

namespace vorn::help {
namespace {

constexpr uint32_t kChunkSize = 4096;
constexpr uint32_t kQuickRefDensity = 2;  // a quick-reference entry every 1 + (1 << 2) entries
constexpr uint32_t kItsfHeaderSize = 0x60;
constexpr uint32_t kHeaderSectionSize = 0x18;
constexpr uint32_t kItspHeaderSize = 0x54;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr char kLzxGuid[] = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";
const std::string kStorage = "::DataSpace/Storage/MSCompressed/";

struct DirectoryEntry {
  std::string name;
  uint32_t section;
  uint64_t offset;
  uint64_t length;
};

// The readers find names by a binary search over this order: bytes compared after ASCII
// upper case is folded to lower case.
bool ListedBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                      [&](char x, char y) { return lower(x) < lower(y); });
}

// The directory's numbers: 7 bits a byte, most significant group first, high bit = more.
void EncInt(ByteBuilder& out, uint64_t value) {
  int groups = 1;
  while (groups < 10 && (value >> (7 * groups)) != 0) ++groups;
  for (int g = groups - 1; g >= 0; --g)
    out.U8(static_cast<uint8_t>(((value >> (7 * g)) & 0x7F) | (g > 0 ? 0x80 : 0)));
}

// One listing chunk holds every entry; a help file of a few dozen pages is far from filling it.
std::string ListingChunk(const std::vector<DirectoryEntry>& entries) {
  ByteBuilder entryBytes;
  std::vector<uint16_t> quickRef;
  const size_t every = 1 + (1u << kQuickRefDensity);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && i % every == 0) quickRef.push_back(static_cast<uint16_t>(entryBytes.size()));
    EncInt(entryBytes, entries[i].name.size());
    entryBytes.Bytes(entries[i].name);
    EncInt(entryBytes, entries[i].section);
    EncInt(entryBytes, entries[i].offset);
    EncInt(entryBytes, entries[i].length);
  }
  constexpr size_t kHeader = 0x14;
  const size_t tail = 2 * (quickRef.size() + 1);
  if (kHeader + entryBytes.size() + tail > kChunkSize)
    throw std::runtime_error("too many files for the help file's directory");
  ByteBuilder chunk;
  chunk.Bytes("PMGL");
  chunk.U32(static_cast<uint32_t>(kChunkSize - kHeader - entryBytes.size()));  // free space + quick refs
  chunk.U32(0);
  chunk.U32(kNone);  // no previous chunk
  chunk.U32(kNone);  // no next chunk
  chunk.Bytes(entryBytes.str());
  chunk.Zeros(kChunkSize - chunk.size() - tail);
  // The quick references are read from the chunk's end backwards, the entry count last.
  for (auto it = quickRef.rbegin(); it != quickRef.rend(); ++it) chunk.U16(*it);
  chunk.U16(static_cast<uint16_t>(entries.size()));
  return chunk.Take();
}

std::string DirectoryHeader(uint32_t language) {
  ByteBuilder out;
  out.Bytes("ITSP");
  out.U32(1);
  out.U32(kItspHeaderSize);
  out.U32(10);
  out.U32(kChunkSize);
  out.U32(kQuickRefDensity);
  out.U32(1);      // depth of the index tree: the listing chunk only
  out.U32(kNone);  // no index chunk
  out.U32(0);      // first listing chunk
  out.U32(0);      // last listing chunk
  out.U32(kNone);
  out.U32(1);  // chunks
  out.U32(language);
  out.Guid(0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  out.U32(kItspHeaderSize);
  for (int i = 0; i < 3; ++i) out.U32(kNone);
  return out.Take();
}

std::string Utf16(const std::string& ascii) {
  ByteBuilder out;
  for (char c : ascii) out.U16(static_cast<uint8_t>(c));
  return out.Take();
}

// The names of the two content sections, by number.
std::string NameList() {
  ByteBuilder out;
  const std::string names[] = {"Uncompressed", "MSCompressed"};
  size_t words = 2;
  for (const auto& name : names) words += name.size() + 2;
  out.U16(static_cast<uint16_t>(words));
  out.U16(2);
  for (const auto& name : names) {
    out.U16(static_cast<uint16_t>(name.size()));
    out.Bytes(Utf16(name));
    out.U16(0);
  }
  return out.Take();
}

std::string ControlData() {
  ByteBuilder out;
  out.U32(6);  // count of the 32-bit values that follow
  out.Bytes("LZXC");
  out.U32(2);                                   // version: sizes below in frames
  out.U32(kLzxFramesPerReset);                  // reset interval
  out.U32(kLzxFramesPerReset);                  // window size
  out.U32(1);                                   // windows per reset
  out.U32(0);
  return out.Take();
}

std::string ResetTable(const LzxStream& stream, uint64_t uncompressedSize) {
  ByteBuilder out;
  out.U32(2);
  out.U32(static_cast<uint32_t>(stream.frameOffsets.size()));
  out.U32(8);     // size of an entry
  out.U32(0x28);  // where the entries start
  out.U64(uncompressedSize);
  out.U64(stream.bytes.size());
  out.U64(kLzxFrameSize);
  for (uint64_t offset : stream.frameOffsets) out.U64(offset);
  return out.Take();
}

// A stamp that changes with the content but not from one build of the same pages to the next.
uint32_t ContentStamp(const std::vector<ContainerFile>& files) {
  uint32_t hash = 2166136261u;
  for (const auto& file : files)
    for (unsigned char c : file.name + file.data) hash = (hash ^ c) * 16777619u;
  return hash;
}

}  // namespace

std::string WriteContainer(const std::vector<ContainerFile>& files, uint32_t language) {
  std::vector<DirectoryEntry> entries;
  ByteBuilder section0;
  std::string section1;
  auto addUncompressed = [&](const std::string& name, const std::string& data) {
    entries.push_back({name, 0, section0.size(), data.size()});
    section0.Bytes(data);
  };
  addUncompressed("/", "");
  for (const auto& file : files) {
    if (file.section == Section::Uncompressed) {
      addUncompressed(file.name, file.data);
    } else {
      entries.push_back({file.name, 1, section1.size(), file.data.size()});
      section1 += file.data;
    }
  }
  const uint64_t uncompressedSize = section1.size();
  section1.resize((section1.size() + kLzxFrameSize - 1) / kLzxFrameSize * kLzxFrameSize, '\0');
  const LzxStream stream = EncodeStoredLzx(section1);
  ByteBuilder span;
  span.U64(uncompressedSize);
  addUncompressed("::DataSpace/NameList", NameList());
  addUncompressed(kStorage + "Content", stream.bytes);
  addUncompressed(kStorage + "ControlData", ControlData());
  addUncompressed(kStorage + "SpanInfo", span.str());
  // The help compiler stores only the first 38 bytes of the transform's name; so do we.
  addUncompressed(kStorage + "Transform/List", Utf16(kLzxGuid).substr(0, 38));
  addUncompressed(kStorage + "Transform/" + kLzxGuid + "/InstanceData/ResetTable",
                  ResetTable(stream, uncompressedSize));
  std::sort(entries.begin(), entries.end(), ListedBefore);

  const std::string directory = DirectoryHeader(language) + ListingChunk(entries);
  const uint64_t directoryOffset = kItsfHeaderSize + kHeaderSectionSize;
  const uint64_t section0Offset = directoryOffset + directory.size();
  const uint64_t fileSize = section0Offset + section0.size();

  ByteBuilder out;
  out.Bytes("ITSF");
  out.U32(3);
  out.U32(kItsfHeaderSize);
  out.U32(1);
  out.U32(ContentStamp(files));
  out.U32(language);
  out.Guid(0x7C01FD10, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  out.Guid(0x7C01FD11, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  out.U64(kItsfHeaderSize);  // header section: the file size
  out.U64(kHeaderSectionSize);
  out.U64(directoryOffset);
  out.U64(directory.size());
  out.U64(section0Offset);
  out.U32(0x01FE);
  out.U32(0);
  out.U64(fileSize);
  out.U32(0);
  out.U32(0);
  out.Bytes(directory);
  out.Bytes(section0.str());
  return out.Take();
}

}  // namespace vorn::help
