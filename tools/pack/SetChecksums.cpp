#include "SetChecksums.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "PackOptions.h"

namespace {

std::uint32_t Extend(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  // zlib takes at most a uInt's worth of bytes per call.
  constexpr std::size_t Step = std::numeric_limits<uInt>::max();
  uLong value = crc;
  for (std::size_t at = 0; at < bytes.size(); at += Step)
    value = crc32(value, bytes.data() + at, static_cast<uInt>(std::min(Step, bytes.size() - at)));
  return static_cast<std::uint32_t>(value);
}

}  // namespace

SetChecksums::SetChecksums(std::size_t fileCount) {
  record_.FileCount = static_cast<std::uint16_t>(fileCount);
}

void SetChecksums::AddFileBytes(std::size_t index, std::span<const std::uint8_t> bytes) {
  record_.FileCrc[index] = Extend(record_.FileCrc[index], bytes);
}

void SetChecksums::AddVolumeBytes(int disk, std::span<const std::uint8_t> bytes) {
  record_.VolumeCrc[disk - 1] = Extend(record_.VolumeCrc[disk - 1], bytes);
}

void SetChecksums::AddStubBytes(std::span<const std::uint8_t> bytes) {
  record_.StubCrc = Extend(record_.StubCrc, bytes);
  record_.StubSize += static_cast<std::uint32_t>(bytes.size());
}

std::vector<std::uint8_t> SetChecksums::Encoded(std::size_t volumeCount) const {
  VerificationRecord record = record_;
  record.VolumeCount = static_cast<std::uint16_t>(volumeCount);
  std::vector<std::uint8_t> bytes(VerificationRecordSize(volumeCount, record.FileCount));
  if (!EncodeVerificationRecord(record, bytes))
    throw PackError("the verification record cannot hold " + std::to_string(volumeCount) + " volumes and " +
                    std::to_string(record.FileCount) + " files");
  return bytes;
}
