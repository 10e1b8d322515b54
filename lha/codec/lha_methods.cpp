#include "lha/codec/lha_methods.h"

#include <iterator>

namespace vorn::lha {
namespace {

constexpr MethodInfo kMethods[] = {
    {"-lh0-", MethodKind::Stored, 0},
    {"-lz4-", MethodKind::Stored, 0},
    {"-lhd-", MethodKind::Directory, 0},
    // -lh4- streams use -lh5-'s tables; only their reach is shorter (4 KiB).
    {"-lh4-", MethodKind::Lzh, 13},
    {"-lh5-", MethodKind::Lzh, 13},
    {"-lh6-", MethodKind::Lzh, 15},
    {"-lh7-", MethodKind::Lzh, 16},
    {"-lh1-", MethodKind::Unsupported, 0},
    {"-lh2-", MethodKind::Unsupported, 0},
    {"-lh3-", MethodKind::Unsupported, 0},
    {"-lhx-", MethodKind::Unsupported, 0},
    {"-lzs-", MethodKind::Unsupported, 0},
    {"-lz5-", MethodKind::Unsupported, 0},
    {"-pm0-", MethodKind::Unsupported, 0},
    {"-pm1-", MethodKind::Unsupported, 0},
    {"-pm2-", MethodKind::Unsupported, 0},
};

}  // namespace

std::optional<MethodInfo> FindMethod(const std::string& id) {
  for (const MethodInfo& method : kMethods)
    if (id == method.id) return method;
  return std::nullopt;
}

}  // namespace vorn::lha
