// Pure rules of the extraction: which entry names may be created, and how an
// entry's bytes are cut into copy blocks.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::int32_t CopyBlockSize = 2048;

// A name that can only be created inside the destination directory: not
// empty, not "." or "..", no "\", "/", ":" and no control characters.
bool IsPlainFileName(std::string_view name);

// The size of the next block when `done` of `size` bytes are copied: full
// blocks while more than one block remains, then the rest (1 to 2048, or 0
// for an empty file) as the last block.
std::int32_t NextCopyBlock(std::int32_t done, std::int32_t size);

// True when `block` (from NextCopyBlock) is the last one of the entry.
bool IsLastCopyBlock(std::int32_t done, std::int32_t size);
