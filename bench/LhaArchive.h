// A minimal LHA level-0 archive holding one member coded with method -lh1-,
// so that lhasa, an independent LHA reader, can decode our streams in the
// benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// CRC-16 as LHA computes it (polynomial 0xA001, reflected, initial 0).
inline std::uint16_t LhaCrc16(const std::vector<std::uint8_t>& data) {
  std::uint16_t crc = 0;
  for (std::uint8_t b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
  }
  return crc;
}

inline std::vector<std::uint8_t> LhaLevel0Archive(const std::string& name,
                                                  const std::vector<std::uint8_t>& original,
                                                  const std::vector<std::uint8_t>& coded) {
  std::vector<std::uint8_t> h;
  auto put32 = [&h](std::uint32_t v) { for (int i = 0; i < 4; ++i) h.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
  for (char c : std::string("-lh1-")) h.push_back(static_cast<std::uint8_t>(c));
  put32(static_cast<std::uint32_t>(coded.size()));
  put32(static_cast<std::uint32_t>(original.size()));
  put32(0x2897A596u);  // DOS time and date
  h.push_back(0x20);   // attribute
  h.push_back(0);      // header level
  h.push_back(static_cast<std::uint8_t>(name.size()));
  h.insert(h.end(), name.begin(), name.end());
  const std::uint16_t crc = LhaCrc16(original);
  h.push_back(static_cast<std::uint8_t>(crc));
  h.push_back(static_cast<std::uint8_t>(crc >> 8));

  std::uint8_t sum = 0;
  for (std::uint8_t b : h) sum = static_cast<std::uint8_t>(sum + b);
  std::vector<std::uint8_t> archive;
  archive.reserve(2 + h.size() + coded.size() + 1);
  archive.push_back(static_cast<std::uint8_t>(h.size()));
  archive.push_back(sum);
  archive.insert(archive.end(), h.begin(), h.end());
  archive.insert(archive.end(), coded.begin(), coded.end());
  archive.push_back(0);  // end of archive
  return archive;
}

}  // namespace bench
