// What can be told wrong about a set before decoding it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CodePage.h"
#include "SetInfo.h"

// Why the bytes at the end of a file cannot be a configuration block, or
// nothing: a string longer than its field, a date no DOS clock shows, sizes
// no set can hold, a file to start beyond the table, an entry outside the
// stream. `block` holds at least the trailer and the table, as they end the file.
std::optional<std::string> ImplausibleBlock(std::span<const std::uint8_t> block,
                                            const ConfigTrailer& trailer,
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

// Why an entry must not be written, or nothing: a name that is not a plain
// file name, or holds a byte its code page does not assign. (Its range was
// checked with the block.)
std::optional<std::string> EntryProblem(const FileEntry& entry, const CodePage& texts);
