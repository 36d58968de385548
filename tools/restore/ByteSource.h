// Where the coded stream comes from: the volumes in disk order, read in
// blocks so memory stays flat whatever the set's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

#include "FloppyImage.h"
#include "VolumeFinder.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills up to `size` bytes; 0 at the end of the stream.
  virtual std::size_t Read(std::uint8_t* out, std::size_t size) = 0;
};

class VolumeChain final : public ByteSource {
 public:
  explicit VolumeChain(std::vector<Volume> volumes);
  std::size_t Read(std::uint8_t* out, std::size_t size) override;

 private:
  bool OpenNext();

  std::vector<Volume> volumes_;
  std::size_t next_ = 0;
  std::ifstream current_;                        // a volume file
  std::unique_ptr<ImageFileReader> fromImage_;  // or one inside a disk image
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::size_t Read(std::uint8_t* out, std::size_t size) override;

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_ = 0;
};
