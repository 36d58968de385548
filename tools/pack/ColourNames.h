// Names for the sixteen palette colours, for command lines and listings.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::array<std::string_view, 16> PaletteColourNames = {
    "black", "maroon", "green", "olive", "navy",    "purple", "teal", "silver",
    "grey",  "red",    "lime",  "yellow", "blue", "fuchsia", "aqua", "white"};

// An index 0-15 or a colour name (case-insensitive; "gray", "magenta" and
// "cyan" also accepted). Nothing for anything else.
std::optional<int> ParseColour(std::string_view text);
