#include "OptionValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>
#include <string>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, int>, 4> StyleBits = {{
    {"bold", 1}, {"italic", 2}, {"underline", 4}, {"strikeout", 8}}};

}  // namespace

std::optional<VolumeSizeChoice> ParseVolumeSize(std::string_view text) {
  if (const FloppyFormat* format = FindFloppyFormat(text)) return VolumeSizeChoice{format, format->FreeBytes};
  std::string_view number = text;
  std::int64_t unit = 1;
  const auto endsIn = [&number](std::string_view suffix) {
    if (number.size() <= suffix.size()) return false;
    for (std::size_t k = 0; k < suffix.size(); ++k)
      if (std::tolower(static_cast<unsigned char>(number[number.size() - suffix.size() + k])) != suffix[k]) return false;
    number.remove_suffix(suffix.size());
    return true;
  };
  if (endsIn("kb") || endsIn("k")) unit = 1024;
  else if (endsIn("mb") || endsIn("m")) unit = 1024 * 1024;
  std::int64_t count = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
  if (error != std::errc() || end != number.data() + number.size() || count <= 0) return std::nullopt;
  if (count > std::numeric_limits<std::int64_t>::max() / unit) return std::nullopt;
  return VolumeSizeChoice{nullptr, count * unit};
}

const FloppyFormat* FormatMeantBy(std::string_view text) {
  for (const FloppyFormat& format : FloppyFormats)
    if (text == std::to_string(format.Kilobytes)) return &format;
  return nullptr;
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
