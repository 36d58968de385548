#include "DiskMap.h"

DiskMap::DiskMap(const std::vector<std::int64_t>& volumeSizes) {
  std::int64_t end = 0;
  for (std::int64_t size : volumeSizes) ends_.push_back(end += size);
  within_.assign(ends_.size(), -1);
}

void DiskMap::Decoded(std::int64_t decoded, std::int64_t unpackedSize) {
  reached_ = decoded;
  whole_ = decoded >= unpackedSize;
  for (auto& w : within_)
    if (w < 0) w = decoded;
}

int DiskMap::DiskOf(std::int64_t offset) const {
  if (offset >= reached_ && !whole_) return 0;
  int disk = 1;
  for (std::size_t k = 0; k + 1 < within_.size() && within_[k] <= offset; ++k) ++disk;
  return disk;
}

std::string DiskMap::DisksOf(const FileEntry& entry) const {
  const int first = DiskOf(entry.Offset);
  const int last = entry.Size > 0 ? DiskOf(std::int64_t{entry.Offset} + entry.Size - 1) : first;
  if (first == 0) return "?";
  if (last == 0) return std::to_string(first) + "-?";
  return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}
