#include "ui/win32/vorn_icon.h"

#include <cstdint>
#include <map>
#include <utility>

#include "ui/win32/vorn_icon_file.h"

namespace vorn::win32ui {
namespace {

uint32_t Little(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// An .ico file: a 6-byte header whose last two bytes count the images, then a 16-byte entry
// per image (width, height, ..., bits per pixel at 6, size of its data at 8, offset of its data
// at 12). The image of the size asked for with the most colours is taken, else the largest.
HICON IconFromFile(const unsigned char* file, size_t fileSize, int size) {
  if (fileSize < 6) return nullptr;
  const uint32_t count = Little(file + 4, 2);
  const unsigned char* chosen = nullptr;
  auto rank = [size](const unsigned char* entry) {
    const int width = entry[0] ? entry[0] : 256;
    return std::pair(width == size ? 1 << 16 : width, static_cast<int>(Little(entry + 6, 2)));
  };
  for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= fileSize; ++i) {
    const unsigned char* entry = file + 6 + 16 * i;
    if (!chosen || rank(entry) > rank(chosen)) chosen = entry;
  }
  if (!chosen) return nullptr;
  const uint32_t bytes = Little(chosen + 8, 4), offset = Little(chosen + 12, 4);
  if (offset > fileSize || bytes > fileSize - offset) return nullptr;
  return CreateIconFromResourceEx(const_cast<unsigned char*>(file + offset), bytes, TRUE, 0x00030000, size, size,
                                  LR_DEFAULTCOLOR);
}

}  // namespace

HICON VornIcon(int size) {
  static std::map<int, HICON> made;
  HICON& icon = made[size];
  if (!icon) icon = IconFromFile(kVornIconFile, sizeof kVornIconFile, size);
  return icon;
}

}  // namespace vorn::win32ui
