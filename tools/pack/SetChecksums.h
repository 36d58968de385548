// The CRC-32s of a set's parts, gathered while the set is written: each
// file's bytes as they are read, each volume's as they are cut, and the
// stub's as it is copied. They become the verification record that sits
// between the stub's bytes and the file table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "config/VerificationRecord.h"

class SetChecksums {
 public:
  explicit SetChecksums(std::size_t fileCount);

  void AddFileBytes(std::size_t index, std::span<const std::uint8_t> bytes);
  void AddVolumeBytes(int disk, std::span<const std::uint8_t> bytes);
  void AddStubBytes(std::span<const std::uint8_t> bytes);

  // The record of a set of `volumeCount` volumes, encoded.
  std::vector<std::uint8_t> Encoded(std::size_t volumeCount) const;

 private:
  VerificationRecord record_;
};
