#include "extract/ExtractionRules.h"

#include <algorithm>

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == '\\' || c == '/' || c == ':' || u < 0x20 || u == 0x7F;
  });
}

bool IsLastCopyBlock(std::int32_t done, std::int32_t size) {
  // Compared in 64 bits: a size near the 32-bit limit must not wrap.
  return static_cast<std::int64_t>(done) + CopyBlockSize >= size;
}

std::int32_t NextCopyBlock(std::int32_t done, std::int32_t size) {
  return IsLastCopyBlock(done, size) ? size - done : CopyBlockSize;
}
