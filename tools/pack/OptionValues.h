// Parsing of the option values that are more than a number or a string.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// "360K", "720K", "1.2M", "1.44M" and "2.88M" are the free bytes of a
// formatted floppy of that kind; anything else must be a plain byte count.
std::optional<std::int64_t> ParseVolumeSize(std::string_view text);

// A comma-separated list of bold, italic, underline, strikeout (or "plain"),
// as the trailer's style bits.
std::optional<int> ParseTitleStyle(std::string_view text);
