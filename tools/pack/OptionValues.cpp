#include "OptionValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace {

struct FloppyFormat {
  std::string_view Name;
  std::int64_t FreeBytes;  // data clusters of a freshly formatted FAT12 disk
};

constexpr std::array<FloppyFormat, 5> FloppyFormats = {{
    {"360K", 362496},
    {"720K", 730112},
    {"1.2M", 1213952},
    {"1.44M", 1457664},
    {"2.88M", 2931712},
}};

constexpr std::array<std::pair<std::string_view, int>, 4> StyleBits = {{
    {"bold", 1}, {"italic", 2}, {"underline", 4}, {"strikeout", 8}}};

}  // namespace

std::optional<std::int64_t> ParseVolumeSize(std::string_view text) {
  for (const auto& format : FloppyFormats)
    if (text == format.Name) return format.FreeBytes;
  std::int64_t bytes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  if (error != std::errc() || end != text.data() + text.size() || bytes <= 0) return std::nullopt;
  return bytes;
}

std::optional<int> ParseTitleStyle(std::string_view text) {
  if (text == "plain") return 0;
  int style = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view word = text.substr(start, comma - start);
    const auto known = std::find_if(StyleBits.begin(), StyleBits.end(),
                                    [word](const auto& entry) { return entry.first == word; });
    if (known == StyleBits.end()) return std::nullopt;
    style |= known->second;
    if (comma == std::string_view::npos) return style;
    start = comma + 1;
  }
}
