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

// A floppy format as people spell it ("1.44M", "1440k", "1.44MB"), or else
// a whole count of bytes, of kilobytes with K (400K: 409600 bytes) or of
// megabytes with M (1M: 1048576; KB and MB too, in any case); nothing for
// anything else.
std::optional<VolumeSizeChoice> ParseVolumeSize(std::string_view text);

// The floppy format whose size in kilobytes `text` is, as a plain number
// (1440 for 1.44M): a byte count nobody means.
const FloppyFormat* FormatMeantBy(std::string_view text);

// "160K, 180K, ... 2.88M", for messages.
std::string FloppyFormatNames();

// A comma-separated list of bold, italic, underline, strikeout (or "plain"),
// as the trailer's style bits.
std::optional<int> ParseTitleStyle(std::string_view text);
