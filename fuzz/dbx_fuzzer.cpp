// Reads an arbitrary folder file the way the extraction does: the walk, every record and every
// message's block chain, which must end, stay inside the file and stay within their bounds.
#include <cstdlib>
#include <vector>

#include "dbx/dbx_reader.h"
#include "fuzz/counting_output.h"
#include "tests/dbx/memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  // Odd sizes read without seeking, so the reopening path is fuzzed too.
  auto file = vorn::test::OpenMemory(bytes, size % 2 == 0);
  int32_t count = 0;
  int32_t root = 0;
  if (vorn::ReadMessageCount(*file, count) != vorn::DbxError::None) return 0;
  if (vorn::ReadIndexRoot(*file, root) != vorn::DbxError::None) return 0;
  std::vector<int32_t> records;
  vorn::CollectMessageInfoOffsets(*file, root, records);
  if (records.size() > vorn::kMaxIndexRecords) std::abort();
  for (int32_t record : records) {
    vorn::MessageInfo info;
    if (vorn::ClassifyMessageInfo(*file, record, info) != vorn::DbxError::None) continue;
    if (info.kind == vorn::MessageKind::Unclassified) continue;
    size_t written = 0;
    vorn::fuzz::CountingOutput out(written);
    vorn::CopyMessageText(*file, info.pointer, out);
    if (written > size + 2) std::abort();
  }
  return 0;
}
