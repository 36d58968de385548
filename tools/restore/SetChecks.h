// What can be told wrong about a set before decoding it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CodePage.h"
#include "SetInfo.h"

// Why the bytes at the end of a file cannot be a set's trailer, or nothing:
// a text longer than its field, sizes no set can hold, a file to start
// beyond the table of `entryCount` entries. `block` ends with the trailer.
std::optional<std::string> ImplausibleTrailer(std::span<const std::uint8_t> block, const ConfigTrailer& trailer,
                                              std::size_t entryCount);

// Why the file table of a plausible trailer is damaged, or nothing: a name
// longer than its field, a date no DOS clock shows, an entry outside the
// stream. `block` holds at least the table and the trailer, as they end the file.
std::optional<std::string> ImplausibleEntries(std::span<const std::uint8_t> block, const ConfigTrailer& trailer,
                                              const std::vector<FileEntry>& entries, const CodePage& texts);

// Sizes the block claims that no set can hold; nothing when they are sound.
std::optional<std::string> ImpossibleSizes(const ConfigTrailer& trailer);

// The volumes must add up to SplitSize, byte for byte.
std::optional<std::string> VolumeSizeProblem(const ConfigTrailer& trailer,
                                             const std::vector<std::int64_t>& volumeSizes);

// Entries that together claim more bytes than the stream decodes to: a
// packer never repeats bytes, a decompression bomb does.
std::optional<std::string> ClaimedSizeProblem(const std::vector<FileEntry>& entries,
                                              std::int32_t unpackedSize);
