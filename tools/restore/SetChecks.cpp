#include "SetChecks.h"

#include "AnsiText.h"
#include "config/ConfigBlock.h"

std::optional<std::string> ImpossibleSizes(const ConfigTrailer& t) {
  if (t.UnpackedSize < 0)
    return "the block claims a decoded size of " + std::to_string(t.UnpackedSize) + " bytes";
  if (t.SplitSize < 0) return "the block claims volumes of " + std::to_string(t.SplitSize) + " bytes in all";
  if (t.SplitSize == 0 && t.UnpackedSize > 0)
    return "the block claims " + std::to_string(t.UnpackedSize) + " decoded bytes from an empty stream";
  // A match costs at least 10 bits (a 1-bit symbol, a 9-bit position) for
  // at most 60 bytes, so no coded byte yields more than 48 bytes.
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

std::optional<std::string> EntryProblem(const FileEntry& e, std::int32_t unpackedSize) {
  const std::string name = "'" + ShownText(e.Name) + "'";
  if (!IsPlainFileName(e.Name) || HasUnassignedByte(e.Name)) return name + " is not a plain file name; refused";
  if (e.Offset < 0 || e.Size < 0 ||
      static_cast<std::int64_t>(e.Offset) + e.Size > static_cast<std::int64_t>(unpackedSize))
    return name + " lies outside the decoded stream (offset " + std::to_string(e.Offset) + ", size " +
           std::to_string(e.Size) + ", stream " + std::to_string(unpackedSize) + " bytes)";
  return std::nullopt;
}
