// How the extraction cuts an entry's bytes into copy blocks: full blocks
// while more than one block remains, then the rest (1 to 2048, or 0 for an
// empty file) as the last block.
#pragma once

#include <cstdint>

#include "base/State.h"

// True when the next block, with `done` of `size` bytes copied, is the
// entry's last. Compared in 64 bits: a size near the 32-bit limit must not wrap.
constexpr bool IsLastCopyBlock(std::int32_t done, std::int32_t size) {
  return static_cast<std::int64_t>(done) + BlockSize >= size;
}

constexpr std::int32_t NextCopyBlock(std::int32_t done, std::int32_t size) {
  return IsLastCopyBlock(done, size) ? size - done : BlockSize;
}
