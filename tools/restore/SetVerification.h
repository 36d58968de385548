// A set's parts checked against its verification record before anything is
// decoded: the installer's own bytes and every volume, each read once, from
// files or from inside disk images.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SetInfo.h"
#include "StreamDecode.h"
#include "VolumeFinder.h"
#include "config/VerificationRecord.h"

struct PartsVerdict {
  // "SETUP.05 is damaged (CRC mismatch): get a good copy of disk 5", one per damaged part.
  std::vector<std::string> Problems;
  // The coded bytes before the first damaged volume: all of them when none is.
  std::int64_t TrustedCodedBytes = NoCodedLimit;
  int FirstDamagedDisk = 0;  // 0 when no volume is damaged
};

// Called as the parts are read: bytes read of all, and the disk being read.
using PartsProgressFn = std::function<void(std::int64_t done, std::int64_t total, int disk)>;

// `setup` is the setup file, whose first StubSize bytes are the installer's;
// `volumes` are the set's, in disk order.
PartsVerdict VerifyParts(const VerificationRecord& record, const Volume& setup, const std::vector<Volume>& volumes,
                         const PartsProgressFn& progress = {});

// The CRC-32 of a whole volume.
std::uint32_t CrcOfVolume(const Volume& volume);

// "SETUP.EXE is damaged (its verification record fails its own CRC-32):
// get a good copy of disk 1 ...", for a set whose record is damaged.
std::string DamagedInstallerMessage(const SetInfo& set);

// With --ignore-checksums: what is not checked in `set` (nothing when it
// carries no record), said once, and the set read as one without a record.
// Returns the note, "" when there was nothing to leave out.
std::string IgnoreChecksums(SetInfo& set);

// For a record of a version this tool does not read: what goes unchecked.
std::string UnknownRecordNote(const SetInfo& set);
