#include "SetVerification.h"

#include <algorithm>

#include "ByteSource.h"
#include "Checksums.h"

namespace {

constexpr std::size_t ReadSize = 64 * 1024;

// The CRC-32 of the part's first `length` bytes (fewer if it is shorter);
// `counted` hears of every block read.
std::uint32_t CrcOf(const Volume& part, std::int64_t length, const std::function<void(std::size_t)>& counted) {
  VolumeChain source({part});
  std::vector<std::uint8_t> block(ReadSize);
  std::uint32_t crc = 0;
  for (std::int64_t left = length; left > 0;) {
    const std::size_t n = source.Read(block.data(), static_cast<std::size_t>(std::min<std::int64_t>(left, ReadSize)));
    if (n == 0) break;
    crc = ExtendCrc32(crc, std::span(block.data(), n));
    left -= static_cast<std::int64_t>(n);
    counted(n);
  }
  return crc;
}

std::string Damaged(const Volume& part, int disk) {
  return part.Path.filename().string() + " is damaged (CRC mismatch): get a good copy of disk " + std::to_string(disk);
}

}  // namespace

std::uint32_t CrcOfVolume(const Volume& volume) {
  return CrcOf(volume, volume.Size, [](std::size_t) {});
}

PartsVerdict VerifyParts(const VerificationRecord& record, const Volume& setup, const std::vector<Volume>& volumes,
                         const PartsProgressFn& progress) {
  std::int64_t total = record.StubSize;
  for (const Volume& v : volumes) total += v.Size;
  std::int64_t done = 0;
  int disk = 1;
  const auto counted = [&](std::size_t n) {
    done += static_cast<std::int64_t>(n);
    if (progress) progress(done, total, disk);
  };

  PartsVerdict verdict;
  if (CrcOf(setup, record.StubSize, counted) != record.StubCrc) verdict.Problems.push_back(Damaged(setup, 1));
  std::int64_t before = 0;  // coded bytes in the volumes before this one
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    disk = static_cast<int>(i + 1);
    if (CrcOf(volumes[i], volumes[i].Size, counted) != record.VolumeCrc[i]) {
      verdict.Problems.push_back(Damaged(volumes[i], disk));
      if (verdict.FirstDamagedDisk == 0) verdict.TrustedCodedBytes = before, verdict.FirstDamagedDisk = disk;
    }
    before += volumes[i].Size;
  }
  return verdict;
}

std::string DamagedInstallerMessage(const SetInfo& set) {
  return set.StubName + " is damaged (" + set.RecordDamage +
         "): get a good copy of disk 1, or read the set without its checksums (--ignore-checksums)";
}

std::string IgnoreChecksums(SetInfo& set) {
  std::string note;
  if (!set.RecordDamage.empty())
    note = set.StubName + " is damaged (" + set.RecordDamage + "); not checking the installer, the volumes or the " +
           "files against its CRC-32s";
  else if (set.Record)
    note = std::string("not checking the installer, ") + (set.Record->Version >= 2 ? "its file table, " : "") +
           "the volumes or the files against the set's CRC-32s";
  set.Record.reset();
  set.RecordDamage.clear();
  return note.empty() ? note : "--ignore-checksums: " + note;
}

std::string UnknownRecordNote(const SetInfo& set) {
  return set.StubName + " carries checksums of a later kind (version " + std::to_string(set.UnknownRecordVersion) +
         ") that this diskspan-extract cannot read: they are not checked";
}
