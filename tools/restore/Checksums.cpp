#include "Checksums.h"

std::optional<VerificationRecord> FindVerificationRecord(std::span<const std::uint8_t> tail, std::int64_t tailStart,
                                                         const ConfigTrailer& trailer) {
  const std::size_t block = trailer.FileCount * FileEntrySize + ConfigTrailerSize;
  if (tail.size() < block + VerificationFooterSize) return std::nullopt;
  const std::size_t tableAt = tail.size() - block;
  const std::size_t size =
      VerificationRecordSizeFromFooter(tail.subspan(tableAt - VerificationFooterSize).first<VerificationFooterSize>());
  if (size == 0 || size > tableAt) return std::nullopt;
  VerificationRecord record;
  if (!DecodeVerificationRecord(tail.subspan(tableAt - size, size), record)) return std::nullopt;
  const std::int64_t start = tailStart + static_cast<std::int64_t>(tableAt - size);
  if (record.StubSize != start || record.FileCount != trailer.FileCount || record.VolumeCount != trailer.VolumeCount)
    return std::nullopt;
  return record;
}
