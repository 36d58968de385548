// Parsing of the option values that are more than a number or a string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "volumes/FloppyFormats.h"

struct VolumeSizeChoice {
  const FloppyFormat* Format = nullptr;  // null for a plain byte count
  std::int64_t Bytes = 0;                // the format's free bytes, or the count
};

// A floppy format as people spell it ("1.44M", "1440k", "1.44MB") or a plain
// byte count; nothing for anything else.
std::optional<VolumeSizeChoice> ParseVolumeSize(std::string_view text);

// "160K, 180K, ... 2.88M", for messages.
std::string FloppyFormatNames();

// A comma-separated list of bold, italic, underline, strikeout (or "plain"),
// as the trailer's style bits.
std::optional<int> ParseTitleStyle(std::string_view text);
