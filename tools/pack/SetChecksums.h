// The CRC-32s of a set's parts, gathered while the set is written: each
// file's bytes as they are read, each volume's as they are cut, the stub's
// as it is copied, and the file table's and trailer's. They become the
// verification record that sits between the stub's bytes and the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "config/VerificationRecord.h"

class SetChecksums {
 public:
  // `codePage`: the one the set's names and texts are stored in.
  SetChecksums(std::size_t fileCount, int codePage);

  void AddFileBytes(std::size_t index, std::span<const std::uint8_t> bytes);
  void AddVolumeBytes(int disk, std::span<const std::uint8_t> bytes);
  void AddStubBytes(std::span<const std::uint8_t> bytes);
  void AddBlockBytes(std::span<const std::uint8_t> bytes);  // the file table, then the trailer

  // The record of a set of `volumeCount` volumes, encoded.
  std::vector<std::uint8_t> Encoded(std::size_t volumeCount) const;

 private:
  VerificationRecord record_;
};
