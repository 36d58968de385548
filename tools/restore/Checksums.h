// The set's verification record, found before its file table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "config/ConfigBlock.h"
#include "config/VerificationRecord.h"
#include "ZlibCrc32.h"

// The record in `tail`, the last bytes of a setup file (they start at
// `tailStart` in the file and end with the file table and `trailer`), or
// nothing when there is none or it does not belong: its StubSize must be
// where it starts, its counts the trailer's. Such a set reads as one made
// without a record.
std::optional<VerificationRecord> FindVerificationRecord(std::span<const std::uint8_t> tail, std::int64_t tailStart,
                                                         const ConfigTrailer& trailer);

// The most bytes a reader needs from the end of a setup file: the largest
// record, the largest table and the trailer.
inline constexpr std::size_t LargestSetupTail =
    VerificationRecordSize(MaxVerifiedVolumes, MaxVerifiedFiles) + 255 * FileEntrySize + ConfigTrailerSize;
