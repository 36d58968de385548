// The files to pack, with the names and dates they will install with. Only
// their sizes are read ahead (from stat), so every limit is checked before
// a byte is coded; their contents are streamed later.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "CodePage.h"

struct InputFile {
  std::filesystem::path Source;
  std::string Name;        // the installed file's name: the source's own, in UTF-8
  std::string StoredName;  // the same in the set's code page
  std::uint32_t DosDate = 0;
  std::int64_t Size = 0;
};

// Raises PackError naming the file when one is missing, not a regular file,
// unreadable, or has a name the code page cannot hold.
std::vector<InputFile> StatInputFiles(const std::vector<std::filesystem::path>& paths, const CodePage& codePage);

// Hands the file's bytes to `take` in chunks; raises PackError when it
// cannot be read or no longer has the size it had when it was stat'ed.
void StreamFile(const std::filesystem::path& path, std::int64_t expectedSize,
                const std::function<void(std::span<const std::uint8_t>)>& take);

// The file's modification time as a local DOS date and time, clamped to the
// years a DOS date can hold (1980 to 2107).
std::uint32_t DosDateOf(const std::filesystem::path& path);
