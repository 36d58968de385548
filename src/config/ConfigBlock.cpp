#include "config/ConfigBlock.h"

#include <algorithm>

namespace {

std::span<const std::uint8_t> FieldOf(std::span<const std::uint8_t> record,
                                      std::span<const std::size_t> widths,
                                      std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) start += widths[i];
  return record.subspan(start, widths[index]);
}

void PutInt32(std::uint8_t* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void PutLengthString(std::uint8_t* out, std::size_t width, std::string_view text) {
  const std::size_t length = std::min(text.size(), width - 1);
  out[0] = static_cast<std::uint8_t>(length);
  std::copy_n(text.begin(), length, out + 1);
}

}  // namespace

std::int32_t DecodeInt32(std::span<const std::uint8_t> bytes) {
  const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                             std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
  return static_cast<std::int32_t>(bits);
}

std::string_view DecodeLengthString(std::span<const std::uint8_t> field) {
  const std::size_t length = std::min<std::size_t>(field[0], field.size() - 1);
  return std::string_view(reinterpret_cast<const char*>(field.data() + 1), length);
}

void DecodeTrailerField(ConfigTrailer& t, TrailerField field,
                        std::span<const std::uint8_t> bytes) {
  switch (field) {
    case TrailerField::FileCount: t.FileCount = bytes[0]; break;
    case TrailerField::LaunchIndex: t.LaunchIndex = bytes[0]; break;
    case TrailerField::VolumeCount: t.VolumeCount = bytes[0]; break;
    case TrailerField::SplitSize: t.SplitSize = DecodeInt32(bytes); break;
    case TrailerField::UnpackedSize: t.UnpackedSize = DecodeInt32(bytes); break;
    case TrailerField::Title: t.Title = DecodeLengthString(bytes); break;
    case TrailerField::TitleFont: t.TitleFont = DecodeLengthString(bytes); break;
    case TrailerField::GradientTopIndex: t.GradientTopIndex = bytes[0]; break;
    case TrailerField::GradientBottomIndex: t.GradientBottomIndex = bytes[0]; break;
    case TrailerField::TitleColourIndex: t.TitleColourIndex = bytes[0]; break;
    case TrailerField::TitleSize: t.TitleSize = bytes[0]; break;
    case TrailerField::TitleStyle: t.TitleStyle = bytes[0]; break;
    case TrailerField::DefaultDestDir: t.DefaultDestDir = DecodeLengthString(bytes); break;
  }
}

void DecodeEntryField(FileEntry& e, EntryField field, std::span<const std::uint8_t> bytes) {
  switch (field) {
    case EntryField::Name: e.Name = DecodeLengthString(bytes); break;
    case EntryField::Date: e.Date = DecodeInt32(bytes); break;
    case EntryField::Offset: e.Offset = DecodeInt32(bytes); break;
    case EntryField::Size: e.Size = DecodeInt32(bytes); break;
  }
}

ConfigTrailer DecodeTrailer(std::span<const std::uint8_t, ConfigTrailerSize> bytes) {
  ConfigTrailer trailer;
  for (std::size_t i = 0; i < TrailerFieldWidths.size(); ++i)
    DecodeTrailerField(trailer, static_cast<TrailerField>(i),
                       FieldOf(bytes, TrailerFieldWidths, i));
  return trailer;
}

FileEntry DecodeFileEntry(std::span<const std::uint8_t, FileEntrySize> bytes) {
  FileEntry entry;
  for (std::size_t i = 0; i < EntryFieldWidths.size(); ++i)
    DecodeEntryField(entry, static_cast<EntryField>(i), FieldOf(bytes, EntryFieldWidths, i));
  return entry;
}

std::array<std::uint8_t, ConfigTrailerSize> EncodeTrailer(const ConfigTrailer& t) {
  std::array<std::uint8_t, ConfigTrailerSize> out{};
  out[0] = t.FileCount;
  out[1] = t.LaunchIndex;
  out[2] = t.VolumeCount;
  PutInt32(&out[3], t.SplitSize);
  PutInt32(&out[7], t.UnpackedSize);
  PutLengthString(&out[11], TitleFieldWidth, t.Title);
  PutLengthString(&out[51], TitleFontFieldWidth, t.TitleFont);
  out[81] = t.GradientTopIndex;
  out[82] = t.GradientBottomIndex;
  out[83] = t.TitleColourIndex;
  out[84] = t.TitleSize;
  out[85] = t.TitleStyle;
  PutLengthString(&out[86], DefaultDestDirFieldWidth, t.DefaultDestDir);
  return out;
}

std::array<std::uint8_t, FileEntrySize> EncodeFileEntry(const FileEntry& e) {
  std::array<std::uint8_t, FileEntrySize> out{};
  PutLengthString(&out[0], NameFieldWidth, e.Name);
  PutInt32(&out[40], e.Date);
  PutInt32(&out[44], e.Offset);
  PutInt32(&out[48], e.Size);
  return out;
}

std::optional<std::int64_t> FileTableOffset(std::int64_t fileSize, int fileCount) {
  const std::int64_t offset = fileSize - std::int64_t{fileCount} * std::int64_t{FileEntrySize} -
                              std::int64_t{ConfigTrailerSize};
  if (offset < 0) return std::nullopt;
  return offset;
}
