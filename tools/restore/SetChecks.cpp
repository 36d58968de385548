#include "SetChecks.h"

#include "EntryNames.h"
#include "config/ConfigBlock.h"
#include "config/DosDateTime.h"

namespace {

// A length byte must leave its string inside its field.
bool FitsItsField(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
  return bytes[at] < width;
}

// 0 stands for no date; anything else must be a time a DOS clock shows.
bool PlausibleDate(std::int32_t date) {
  if (date == 0) return true;
  const DosDateTime d = SplitDosDateTime(static_cast<std::uint32_t>(date));
  return d.Month >= 1 && d.Month <= 12 && d.Day >= 1 && d.Day <= 31 && d.Hour <= 23 && d.Minute <= 59 &&
         d.Second <= 58;
}

}  // namespace

std::optional<std::string> ImplausibleTrailer(std::span<const std::uint8_t> block, const ConfigTrailer& t,
                                              std::size_t entryCount) {
  const auto trailer = block.last(ConfigTrailerSize);
  if (!FitsItsField(trailer, 11, TitleFieldWidth) || !FitsItsField(trailer, 51, TitleFontFieldWidth) ||
      !FitsItsField(trailer, 86, DefaultDestDirFieldWidth))
    return "a text is longer than its field";
  if (auto sizes = ImpossibleSizes(t)) return sizes;
  if (t.LaunchIndex > entryCount)
    return "the file to start is number " + std::to_string(t.LaunchIndex) + " of " + std::to_string(entryCount);
  return std::nullopt;
}

std::optional<std::string> ImplausibleEntries(std::span<const std::uint8_t> block, const ConfigTrailer& t,
                                              const std::vector<FileEntry>& entries, const CodePage& texts) {
  const std::size_t tableStart = block.size() - ConfigTrailerSize - entries.size() * FileEntrySize;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const FileEntry& e = entries[i];
    const std::string which = "entry " + std::to_string(i + 1) + " ('" + ShownPath(e.Name, texts) + "')";
    if (!FitsItsField(block, tableStart + i * FileEntrySize, NameFieldWidth))
      return which + " has a name longer than its field";
    if (!PlausibleDate(e.Date)) return which + " has no valid date";
    if (e.Offset < 0 || e.Size < 0 || static_cast<std::int64_t>(e.Offset) + e.Size > t.UnpackedSize)
      return which + " lies outside the decoded stream (offset " + std::to_string(e.Offset) + ", size " +
             std::to_string(e.Size) + ", stream " + std::to_string(t.UnpackedSize) + " bytes)";
  }
  return std::nullopt;
}

std::optional<std::string> ImpossibleSizes(const ConfigTrailer& t) {
  if (t.UnpackedSize < 0)
    return "the block claims a decoded size of " + std::to_string(t.UnpackedSize) + " bytes";
  if (t.SplitSize < 0) return "the block claims volumes of " + std::to_string(t.SplitSize) + " bytes in all";
  if (t.SplitSize == 0 && t.UnpackedSize > 0)
    return "the block claims " + std::to_string(t.UnpackedSize) + " decoded bytes from an empty stream";
  // A match costs at least 10 bits (a 1-bit symbol, a 9-bit position) for
  // at most 60 bytes, so no coded byte yields more than 48 bytes.
  // Nor does a decoded byte cost more than 22 bits: no leaf of a tree whose
  // frequencies stay below 32768 lies deeper, so 3 coded bytes per decoded
  // byte is more than any stream needs.
  if (static_cast<std::int64_t>(t.SplitSize) > static_cast<std::int64_t>(t.UnpackedSize) * 3 + 8)
    return "the block claims " + std::to_string(t.SplitSize) + " coded bytes for only " +
           std::to_string(t.UnpackedSize) + " decoded bytes";
  if (static_cast<std::int64_t>(t.UnpackedSize) > (static_cast<std::int64_t>(t.SplitSize) + 2) * 48)
    return "the block claims " + std::to_string(t.UnpackedSize) + " decoded bytes from only " +
           std::to_string(t.SplitSize) + " coded bytes";
  return std::nullopt;
}

std::optional<std::string> VolumeSizeProblem(const ConfigTrailer& t, const std::vector<std::int64_t>& sizes) {
  std::int64_t total = 0;
  for (std::int64_t s : sizes) total += s;
  if (total == t.SplitSize) return std::nullopt;
  return "the volumes hold " + std::to_string(total) + " bytes but the set needs " +
         std::to_string(t.SplitSize) + (total < t.SplitSize ? " (a volume is truncated)" : "");
}

std::optional<std::string> ClaimedSizeProblem(const std::vector<FileEntry>& entries,
                                              std::int32_t unpackedSize) {
  std::int64_t claimed = 0;
  for (const FileEntry& e : entries) claimed += e.Size > 0 ? e.Size : 0;
  if (claimed <= unpackedSize) return std::nullopt;
  return "the entries claim " + std::to_string(claimed) + " bytes in all, more than the " +
         std::to_string(unpackedSize) + " bytes the stream decodes to (a set never repeats bytes)";
}
