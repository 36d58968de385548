#include "Checksums.h"

namespace {

std::string Count(int n, const std::string& what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

std::string DamageText(RecordState state, const VerificationRecord& r, std::int64_t start,
                       const ConfigTrailer& trailer) {
  switch (state) {
    case RecordState::BadCrc: return "its verification record fails its own CRC-32";
    case RecordState::BadLayout: return "its verification record's size disagrees with its counts";
    case RecordState::WrongStubSize:
      return "its verification record was made for an installer of " + std::to_string(r.StubSize) +
             " bytes, not " + std::to_string(start);
    case RecordState::WrongCounts:
      return "its verification record counts " + Count(r.VolumeCount, "volume") + " and " + Count(r.FileCount, "file") +
             ", the set " + Count(trailer.VolumeCount, "volume") + " and " + Count(trailer.FileCount, "file");
    case RecordState::BadBlock: return "its file table or settings do not match their CRC-32";
    default: return "";
  }
}

}  // namespace

FoundRecord FindVerificationRecord(std::span<const std::uint8_t> tail, std::int64_t tailStart,
                                   const ConfigTrailer& trailer) {
  const std::size_t block = trailer.FileCount * FileEntrySize + ConfigTrailerSize;
  if (tail.size() < block + VerificationFooterSize) return {};
  const std::size_t tableAt = tail.size() - block;
  const std::size_t size =
      VerificationRecordSizeFromFooter(tail.subspan(tableAt - VerificationFooterSize).first<VerificationFooterSize>());
  if (size == 0 || size > tableAt) return {};
  VerificationRecord record;
  RecordState state = DecodeVerificationRecord(tail.subspan(tableAt - size, size), record);
  if (state == RecordState::NewerVersion) {
    FoundRecord later;
    later.UnknownVersion = static_cast<std::uint16_t>(tail[tableAt - size + 8] | tail[tableAt - size + 9] << 8);
    return later;
  }
  const std::int64_t start = tailStart + static_cast<std::int64_t>(tableAt - size);
  if (state == RecordState::Sound)
    state = CheckRecordBelongs(record, start, trailer.VolumeCount, trailer.FileCount,
                               ExtendCrc32(0, tail.subspan(tableAt)));
  FoundRecord found;
  if (state == RecordState::Sound) found.Sound = record;
  else found.Damage = DamageText(state, record, start, trailer);
  return found;
}
