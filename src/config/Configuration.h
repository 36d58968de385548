// What a run makes of the ConfigTrailer: the palette that the colour indexes
// pick from, the derived values it keeps in Config and the MessageTable, and
// the FileTable that holds the entries in the order of the block.
#pragma once

#include <array>
#include <cstdint>

#include "base/State.h"
#include "config/ConfigBlock.h"

inline constexpr std::array<Rgb, 16> Palette16 = {{
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
}};

// Colour for a stored index; an index above 15 is clamped to 15 (white).
constexpr Rgb PaletteColour(std::uint8_t index) {
  return Palette16[index < Palette16.size() ? index : Palette16.size() - 1];
}

// The platform's colour value: red in the lowest byte, then green, then blue.
constexpr std::uint32_t ColourRef(Rgb c) {
  return std::uint32_t{c.Red} | std::uint32_t{c.Green} << 8 | std::uint32_t{c.Blue} << 16;
}

// TitleSize x 6 kept in one byte: 42 gives 252, 43 wraps to 2.
constexpr std::uint8_t TitleHeightFor(std::uint8_t titleSize) {
  return static_cast<std::uint8_t>(titleSize * 6);
}

struct TitleStyleBits {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  bool operator==(const TitleStyleBits&) const = default;
};

// Bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out; the rest ignored.
constexpr TitleStyleBits SplitTitleStyle(std::uint8_t style) {
  return {(style & 1) != 0, (style & 2) != 0, (style & 4) != 0, (style & 8) != 0};
}

// Stores one decoded trailer field where the run keeps it: the Title becomes
// TitleText and then Caption, colour indexes are looked up at once, TitleSize
// becomes TitleHeight, DefaultDestDir becomes DefaultDir.
void StoreTrailerField(TrailerField field, const ConfigTrailer& trailer, Configuration& config,
                       MessageTableTexts& texts);

// All thirteen fields in file order, as a full read stores them.
void StoreTrailer(const ConfigTrailer& trailer, Configuration& config, MessageTableTexts& texts);

// Appends a record at the end of the FileTable; false (a failure of the
// run) when there is no memory for it.
bool AppendFileRecord(const FileEntry& entry);

// The k-th record counted from 1, or null when there is none.
const FileRecord* FileRecordAt(int k);

int FileTableLength();

// Releases every record from the head onward, one at a time.
void ReleaseFileTable();

// An entry the run can install: its name plain, or plain names joined by
// backslashes for a file in a subfolder (in the code page that
// `isLeadByte` describes), and not a temporary's; its bytes inside the
// decoded stream of `unpackedSize` bytes.
bool EntryIsSound(const FileEntry& entry, std::int32_t unpackedSize, LeadByteTest isLeadByte);

// Upper-cases `length` bytes of a name in place, as the system's code page
// does (CharUpperBuffA in the stub), so that names can be compared as the
// file system compares them.
using UpperCaseFn = void (*)(char* text, std::size_t length);

// Whether two names, upper-cased alike, give one file, or one a file where
// the other needs a folder (BIN and BIN\TOOL.EXE). The tools ask it of
// names in UTF-8, where a backslash is never part of another character.
bool NamesCollide(std::string_view a, std::string_view b);

// The whole FileTable checked once, before anything is created: every
// entry sound, no two names the same file once upper-cased, and no file
// where another entry needs a folder. A table that fails is a damaged set.
bool FileTableIsSound(std::int32_t unpackedSize, LeadByteTest isLeadByte, UpperCaseFn upperCase);
