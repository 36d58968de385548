#include "ColourNames.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string Lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

}  // namespace

std::optional<int> ParseColour(std::string_view text) {
  int index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
    if (index >= 0 && index < static_cast<int>(PaletteColourNames.size())) return index;
    return std::nullopt;
  }
  std::string name = Lowered(text);
  if (name == "gray") name = "grey";
  if (name == "magenta") name = "fuchsia";
  if (name == "cyan") name = "aqua";
  const auto it = std::find(PaletteColourNames.begin(), PaletteColourNames.end(), name);
  if (it == PaletteColourNames.end()) return std::nullopt;
  return static_cast<int>(it - PaletteColourNames.begin());
}
