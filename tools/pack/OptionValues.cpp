#include "OptionValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, int>, 4> StyleBits = {{
    {"bold", 1}, {"italic", 2}, {"underline", 4}, {"strikeout", 8}}};

}  // namespace

std::optional<VolumeSizeChoice> ParseVolumeSize(std::string_view text) {
  if (const FloppyFormat* format = FindFloppyFormat(text)) return VolumeSizeChoice{format, format->FreeBytes};
  std::int64_t bytes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  if (error != std::errc() || end != text.data() + text.size() || bytes <= 0) return std::nullopt;
  return VolumeSizeChoice{nullptr, bytes};
}

std::string FloppyFormatNames() {
  std::string names;
  for (const FloppyFormat& format : FloppyFormats) {
    if (!names.empty()) names += ", ";
    names += format.Name;
  }
  return names;
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
