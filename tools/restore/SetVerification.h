// A set's parts checked against its verification record before anything is
// decoded: the installer's own bytes and every volume, each read once, from
// files or from inside disk images.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "StreamDecode.h"
#include "VolumeFinder.h"
#include "config/VerificationRecord.h"

struct PartsVerdict {
  // "SETUP.05 is damaged (CRC mismatch): get a good copy of disk 5", one per damaged part.
  std::vector<std::string> Problems;
  // The coded bytes before the first damaged volume: all of them when none is.
  std::int64_t TrustedCodedBytes = NoCodedLimit;
};

// Called as the parts are read: bytes read of all, and the disk being read.
using PartsProgressFn = std::function<void(std::int64_t done, std::int64_t total, int disk)>;

// `setup` is the setup file, whose first StubSize bytes are the installer's;
// `volumes` are the set's, in disk order.
PartsVerdict VerifyParts(const VerificationRecord& record, const Volume& setup, const std::vector<Volume>& volumes,
                         const PartsProgressFn& progress = {});
