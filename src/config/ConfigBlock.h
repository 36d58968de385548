// The configuration block that the packer appends to a copy of the stub:
// FileCount FileEntry records of 52 bytes, then the 214-byte ConfigTrailer
// that ends the file. Numbers are little-endian, 32-bit values signed,
// strings length-prefixed in fixed-width fields.
//
// Decoding is split per field because the stub reads each field with a
// separate read of exactly its width; the whole-record helpers serve the
// tools and tests (which read whole blocks with tools/restore/SetInfo.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/State.h"
#include "config/FileNames.h"  // every reader of a block checks its names

inline constexpr std::size_t ConfigTrailerSize = 214;
inline constexpr std::size_t FileEntrySize = 52;

// The trailer's fields in file order; the stub reads them in this order.
enum class TrailerField {
  FileCount,
  LaunchIndex,
  VolumeCount,
  SplitSize,
  UnpackedSize,
  Title,
  TitleFont,
  GradientTopIndex,
  GradientBottomIndex,
  TitleColourIndex,
  TitleSize,
  TitleStyle,
  DefaultDestDir,
};
inline constexpr std::array<std::size_t, 13> TrailerFieldWidths = {
    1, 1, 1, 4, 4, TitleFieldWidth, TitleFontFieldWidth, 1, 1, 1, 1, 1, DefaultDestDirFieldWidth};

enum class EntryField { Name, Date, Offset, Size };
inline constexpr std::array<std::size_t, 4> EntryFieldWidths = {NameFieldWidth, 4, 4, 4};

// The trailer as stored, before any derived value is computed.
struct ConfigTrailer {
  std::uint8_t FileCount = 0;
  std::uint8_t LaunchIndex = 0;
  std::uint8_t VolumeCount = 0;
  std::int32_t SplitSize = 0;
  std::int32_t UnpackedSize = 0;
  FixedText<TitleFieldWidth> Title;
  FixedText<TitleFontFieldWidth> TitleFont;
  std::uint8_t GradientTopIndex = 0;
  std::uint8_t GradientBottomIndex = 0;
  std::uint8_t TitleColourIndex = 0;
  std::uint8_t TitleSize = 0;
  std::uint8_t TitleStyle = 0;
  FixedText<DefaultDestDirFieldWidth> DefaultDestDir;

  bool operator==(const ConfigTrailer&) const = default;
};

std::int32_t DecodeInt32(std::span<const std::uint8_t> bytes);

// The string stored in a field: a length byte of W or more is clamped to
// W - 1, so a damaged block never reads past its field; the padding after
// the string is never looked at.
std::string_view DecodeLengthString(std::span<const std::uint8_t> field);

// `bytes` holds exactly the field's width (TrailerFieldWidths, EntryFieldWidths).
void DecodeTrailerField(ConfigTrailer& trailer, TrailerField field,
                        std::span<const std::uint8_t> bytes);
void DecodeEntryField(FileEntry& entry, EntryField field, std::span<const std::uint8_t> bytes);

ConfigTrailer DecodeTrailer(std::span<const std::uint8_t, ConfigTrailerSize> bytes);
FileEntry DecodeFileEntry(std::span<const std::uint8_t, FileEntrySize> bytes);

// The inverse, for the packer. Padding bytes are zero.
std::array<std::uint8_t, ConfigTrailerSize> EncodeTrailer(const ConfigTrailer& trailer);
std::array<std::uint8_t, FileEntrySize> EncodeFileEntry(const FileEntry& entry);

// Where the FileTable starts in a file of `fileSize` bytes, or nothing when
// it would start before the beginning of the file.
std::optional<std::int64_t> FileTableOffset(std::int64_t fileSize, int fileCount);
