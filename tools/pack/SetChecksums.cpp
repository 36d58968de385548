#include "SetChecksums.h"

#include "PackOptions.h"
#include "ZlibCrc32.h"

SetChecksums::SetChecksums(std::size_t fileCount, int codePage) {
  record_.FileCount = static_cast<std::uint16_t>(fileCount);
  record_.CodePage = static_cast<std::uint32_t>(codePage);
}

void SetChecksums::AddFileBytes(std::size_t index, std::span<const std::uint8_t> bytes) {
  record_.FileCrc[index] = ExtendCrc32(record_.FileCrc[index], bytes);
}

void SetChecksums::AddVolumeBytes(int disk, std::span<const std::uint8_t> bytes) {
  record_.VolumeCrc[disk - 1] = ExtendCrc32(record_.VolumeCrc[disk - 1], bytes);
}

void SetChecksums::AddStubBytes(std::span<const std::uint8_t> bytes) {
  record_.StubCrc = ExtendCrc32(record_.StubCrc, bytes);
  record_.StubSize += static_cast<std::uint32_t>(bytes.size());
}

void SetChecksums::AddBlockBytes(std::span<const std::uint8_t> bytes) {
  record_.BlockCrc = ExtendCrc32(record_.BlockCrc, bytes);
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
