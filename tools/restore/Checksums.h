// The set's verification record, found before its file table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "config/ConfigBlock.h"
#include "config/VerificationRecord.h"
#include "ZlibCrc32.h"

// What the record a set carries says, as far as it can be read.
struct FoundRecord {
  std::optional<VerificationRecord> Sound;  // a record that belongs to the set
  std::string Damage;                       // why the record found is damaged; empty when it is not
  std::uint16_t UnknownVersion = 0;         // a whole record of a version this reader does not know
};

// The record in `tail`, the last bytes of a setup file (they start at
// `tailStart` in the file and end with the file table and `trailer`). No
// footer before the table: a set made without a record. A footer with a
// record that fails its own CRC, does not start where the installer ends,
// counts other volumes or files, or (version 2) does not match the table
// and trailer: a damaged installer.
FoundRecord FindVerificationRecord(std::span<const std::uint8_t> tail, std::int64_t tailStart,
                                   const ConfigTrailer& trailer);

// The most bytes a reader needs from the end of a setup file: the largest
// record, the largest table and the trailer.
inline constexpr std::size_t LargestSetupTail = LargestVerificationRecord + 255 * FileEntrySize + ConfigTrailerSize;
