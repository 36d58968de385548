#include "WindowsProgram.h"

#include <algorithm>
#include <cstdio>

namespace {

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

}  // namespace

std::optional<std::string> NotAWindowsProgram(std::span<const std::uint8_t> head, std::int64_t fileSize,
                                              std::int64_t& imageEnd) {
  if (head.size() < 64 || head[0] != 'M' || head[1] != 'Z') return "not a Windows program (no MZ header)";
  const std::size_t pe = Get32(head, 0x3C);
  if (pe > head.size() - 24 || Get32(head, pe) != 0x00004550) return "not a Windows program (no PE header)";
  const std::size_t sections = Get16(head, pe + 6), optionalSize = Get16(head, pe + 20);
  const std::size_t table = pe + 24 + optionalSize;
  if (optionalSize < 2 || table + sections * 40 > head.size()) return "its PE headers do not parse (cut short)";
  const std::uint32_t magic = Get16(head, pe + 24);
  if (magic != 0x10B && magic != 0x20B) {
    char text[80];
    std::snprintf(text, sizeof text, "not a PE32 or PE32+ program (optional header magic 0x%X)", magic);
    return text;
  }
  if (sections == 0) return "its PE headers do not parse (no sections)";
  imageEnd = static_cast<std::int64_t>(table + sections * 40);
  for (std::size_t i = 0; i < sections; ++i) {
    const std::int64_t end = std::int64_t{Get32(head, table + i * 40 + 20)} + Get32(head, table + i * 40 + 16);
    if (end > fileSize) return "its PE headers do not parse (section " + std::to_string(i + 1) + " ends past the file)";
    imageEnd = std::max(imageEnd, end);
  }
  return std::nullopt;
}
