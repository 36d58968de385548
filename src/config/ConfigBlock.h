// The configuration block that the packer appends to a copy of the stub:
// FileCount FileEntry records of 52 bytes, then the 214-byte ConfigTrailer
// that ends the file. Numbers are little-endian, 32-bit values signed,
// strings length-prefixed in fixed-width fields.
//
// Decoding is split per field because the stub reads each field with a
// separate read of exactly its width; the whole-record helpers serve the
// tools and tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::size_t ConfigTrailerSize = 214;
inline constexpr std::size_t FileEntrySize = 52;

// Widest strings the block can hold: a field of width W holds W - 1 characters.
inline constexpr std::size_t TitleFieldWidth = 40;
inline constexpr std::size_t TitleFontFieldWidth = 30;
inline constexpr std::size_t DefaultDestDirFieldWidth = 128;
inline constexpr std::size_t NameFieldWidth = 40;

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
    1, 1, 1, 4, 4, 40, 30, 1, 1, 1, 1, 1, 128};

enum class EntryField { Name, Date, Offset, Size };
inline constexpr std::array<std::size_t, 4> EntryFieldWidths = {40, 4, 4, 4};

// The trailer as stored, before any derived value is computed.
struct ConfigTrailer {
  std::uint8_t FileCount = 0;
  std::uint8_t LaunchIndex = 0;
  std::uint8_t VolumeCount = 0;
  std::int32_t SplitSize = 0;
  std::int32_t UnpackedSize = 0;
  std::string Title;
  std::string TitleFont;
  std::uint8_t GradientTopIndex = 0;
  std::uint8_t GradientBottomIndex = 0;
  std::uint8_t TitleColourIndex = 0;
  std::uint8_t TitleSize = 0;
  std::uint8_t TitleStyle = 0;
  std::string DefaultDestDir;

  bool operator==(const ConfigTrailer&) const = default;
};

struct FileEntry {
  std::string Name;
  std::int32_t Date = 0;  // DOS date (high 16 bits) and time (low 16 bits)
  std::int32_t Offset = 0;
  std::int32_t Size = 0;

  bool operator==(const FileEntry&) const = default;
};

std::int32_t DecodeInt32(std::span<const std::uint8_t> bytes);

// A length byte of W or more is clamped to W - 1, so a damaged block never
// reads past its field; the padding after the string is never looked at.
std::string DecodeLengthString(std::span<const std::uint8_t> field);

// `bytes` holds exactly the field's width (TrailerFieldWidths, EntryFieldWidths).
void DecodeTrailerField(ConfigTrailer& trailer, TrailerField field,
                        std::span<const std::uint8_t> bytes);
void DecodeEntryField(FileEntry& entry, EntryField field,
                      std::span<const std::uint8_t> bytes);

ConfigTrailer DecodeTrailer(std::span<const std::uint8_t, ConfigTrailerSize> bytes);
FileEntry DecodeFileEntry(std::span<const std::uint8_t, FileEntrySize> bytes);

// The inverse, for the packer. Strings longer than W - 1 are cut; callers
// check the limits first. Padding bytes are zero.
std::array<std::uint8_t, ConfigTrailerSize> EncodeTrailer(const ConfigTrailer& trailer);
std::array<std::uint8_t, FileEntrySize> EncodeFileEntry(const FileEntry& entry);

// Where the FileTable starts in a file of `fileSize` bytes, or nothing when
// it would start before the beginning of the file.
std::optional<std::int64_t> FileTableOffset(std::int64_t fileSize, int fileCount);

// The whole block read back from the end of a stub file.
struct ConfigBlock {
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
};

// Nothing when the file is too short to hold the block its trailer describes.
std::optional<ConfigBlock> ParseConfigBlock(std::span<const std::uint8_t> file);
