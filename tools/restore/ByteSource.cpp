#include "ByteSource.h"

#include <algorithm>
#include <cstring>

#include "ExtractError.h"

VolumeChain::VolumeChain(std::vector<Volume> volumes) : volumes_(std::move(volumes)) {}

std::size_t VolumeChain::Read(std::uint8_t* out, std::size_t size) {
  while (true) {
    if (current_.is_open()) {
      current_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(size));
      const auto got = static_cast<std::size_t>(current_.gcount());
      if (current_.bad()) throw ExtractError(volumes_[next_ - 1].Path.string() + ": read failed");
      if (got > 0) return got;
      current_.close();
    }
    if (next_ == volumes_.size()) return 0;
    current_.open(volumes_[next_].Path, std::ios::binary);
    if (!current_) throw ExtractError(volumes_[next_].Path.string() + ": cannot open");
    ++next_;
  }
}

std::size_t MemorySource::Read(std::uint8_t* out, std::size_t size) {
  const std::size_t n = std::min(size, bytes_.size() - pos_);
  if (n > 0) std::memcpy(out, bytes_.data() + pos_, n);
  pos_ += n;
  return n;
}
