#include "DiskSpool.h"

#include <algorithm>

#include "ByteSource.h"

Volume DiskSpool::Keep(const Volume& part, std::int64_t length) {
  auto copy = std::make_unique<PendingFile>(std::filesystem::temp_directory_path());
  VolumeChain source({part});
  std::vector<std::uint8_t> block(64 * 1024);
  std::int64_t left = length < 0 ? part.Size : length;
  for (std::size_t n; left > 0 && (n = source.Read(block.data(), std::min(block.size(), static_cast<std::size_t>(left)))) > 0;) {
    copy->Write(std::span(block.data(), n));
    left -= static_cast<std::int64_t>(n);
  }
  Volume kept = part;
  kept.Copy = copy->Named();
  copies_.push_back(std::move(copy));
  return kept;
}
