#include "ByteSource.h"

#include <algorithm>
#include <cstring>

#include "ExtractError.h"

VolumeChain::VolumeChain(std::vector<Volume> volumes) : volumes_(std::move(volumes)) {}

// Opens the next volume; false when there is none.
bool VolumeChain::OpenNext() {
  if (next_ == volumes_.size()) return false;
  const Volume& v = volumes_[next_++];
  if (!v.Copy.empty()) {
    current_.open(v.Copy, std::ios::binary);
    if (!current_) throw ExtractError(v.Shown() + ": its copy cannot be opened");
    return true;
  }
  if (!v.Image.empty()) {
    fromImage_ = std::make_unique<ImageFileReader>(v.Image, v.Path.string());
    return true;
  }
  current_.open(v.Path, std::ios::binary);
  if (!current_) throw ExtractError(v.Shown() + ": cannot open");
  return true;
}

std::size_t VolumeChain::Read(std::uint8_t* out, std::size_t size) {
  while (true) {
    if (fromImage_) {
      const std::size_t got = fromImage_->Read(out, size);
      if (got > 0) return got;
      fromImage_.reset();
    }
    if (current_.is_open()) {
      current_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(size));
      const auto got = static_cast<std::size_t>(current_.gcount());
      if (current_.bad()) throw ExtractError(volumes_[next_ - 1].Shown() + ": read failed");
      if (got > 0) return got;
      current_.close();
    }
    if (!OpenNext()) return 0;
  }
}

std::size_t MemorySource::Read(std::uint8_t* out, std::size_t size) {
  const std::size_t n = std::min(size, bytes_.size() - pos_);
  if (n > 0) std::memcpy(out, bytes_.data() + pos_, n);
  pos_ += n;
  return n;
}
