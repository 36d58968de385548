// The values a run derives from the ConfigTrailer, kept process-wide.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "config/ConfigBlock.h"
#include "config/MessageTable.h"
#include "config/Palette16.h"

struct TitleStyleBits {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  bool operator==(const TitleStyleBits&) const = default;
};

struct Configuration {
  std::uint8_t FileCount = 0;
  std::uint8_t LaunchIndex = 0;
  std::uint8_t VolumeCount = 0;
  std::int32_t SplitSize = 0;
  std::int32_t UnpackedSize = 0;
  std::string TitleFontFace;
  std::uint8_t TitleHeight = 0;
  std::uint8_t TitleStyle = 0;
  Rgb GradientTopColour{};
  Rgb GradientBottomColour{};
  Rgb TitleColour{};
};

extern Configuration Config;

// TitleSize x 6 kept in one byte: 42 gives 252, 43 wraps to 2.
constexpr std::uint8_t TitleHeightFor(std::uint8_t titleSize) {
  return static_cast<std::uint8_t>(titleSize * 6);
}

// Bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out; the rest ignored.
constexpr TitleStyleBits SplitTitleStyle(std::uint8_t style) {
  return {(style & 1) != 0, (style & 2) != 0, (style & 4) != 0, (style & 8) != 0};
}

// Stores one decoded trailer field where the run keeps it: the Title becomes
// TitleText and then Caption, colour indexes are looked up at once, TitleSize
// becomes TitleHeight, DefaultDestDir becomes DefaultDir.
void StoreTrailerField(TrailerField field, const ConfigTrailer& trailer,
                       Configuration& config, MessageTableTexts& texts);

// All thirteen fields in file order, as a full read would store them.
void StoreTrailer(const ConfigTrailer& trailer, Configuration& config,
                  MessageTableTexts& texts);
