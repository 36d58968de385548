// The files to pack, with the names and dates they will install with. Only
// their sizes and dates are read ahead (from stat), so every limit is
// checked before a byte is coded; their contents are streamed later.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "CodePage.h"
#include "PackOptions.h"

struct InputFile {
  std::filesystem::path Source;
  std::string Name;        // its name in the set, in UTF-8: BIN\TOOL.EXE in a subfolder
  std::string StoredName;  // the same in the set's code page
  std::uint32_t DosDate = 0;
  std::string ClampedFrom;  // the file's own date when a DOS date cannot hold it
  std::int64_t Size = 0;
};

struct GatheredInputs {
  std::vector<InputFile> Files;
  std::vector<std::filesystem::path> EmptyFolders;  // left out
};

// The files the arguments and lists name, folders walked, named and dated.
// Raises PackError listing every problem found, one a line: sources that
// cannot be read, names the set cannot hold, clashes, too many files.
GatheredInputs GatherInputFiles(const PackOptions& options, const CodePage& codePage);

// Hands the file's bytes to `take` in chunks; raises PackError when it
// cannot be read or no longer has the size it had when it was stat'ed.
void StreamFile(const std::filesystem::path& path, std::int64_t expectedSize,
                const std::function<void(std::span<const std::uint8_t>)>& take);

// A modification time as a local DOS date and time, clamped to the years a
// DOS date can hold (1980 to 2107); `clampedFrom` tells the date it had
// ("1975-06-01 12:00:00") when it was clamped.
std::uint32_t DosDateOf(std::time_t modified, std::string& clampedFrom);
