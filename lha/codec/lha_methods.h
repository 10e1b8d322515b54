#pragma once
// What the reader knows of each LHA compression method, in one table.
#include <optional>
#include <string>

namespace vorn::lha {

enum class MethodKind {
  Stored,       // the data as it is
  Lzh,          // static-Huffman LZ blocks (lh4 to lh7)
  Directory,    // a folder entry without data
  Unsupported,  // a method of other LHA tools that this reader does not unpack
};

struct MethodInfo {
  const char* id;
  MethodKind kind;
  // For Lzh: the dictionary size the block tables are laid out for (2^bits bytes).
  int dictionaryBits;
};

// The table entry of a method id such as "-lh5-"; nullopt for an id no LHA tool writes.
std::optional<MethodInfo> FindMethod(const std::string& id);

// True for the methods this reader unpacks.
inline bool MethodSupported(const std::string& id) {
  auto method = FindMethod(id);
  return method && method->kind != MethodKind::Unsupported;
}

}  // namespace vorn::lha
