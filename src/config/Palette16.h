// The sixteen colours from which the block picks the gradient and title colours.
#pragma once

#include <array>
#include <cstdint>

struct Rgb {
  std::uint8_t Red;
  std::uint8_t Green;
  std::uint8_t Blue;

  bool operator==(const Rgb&) const = default;
};

inline constexpr std::array<Rgb, 16> Palette16 = {{
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128},   {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},     {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
}};

// Colour for a stored index; an index above 15 is clamped to 15 (white).
Rgb PaletteColour(std::uint8_t index);

// The platform's colour value: red in the lowest byte, then green, then blue.
constexpr std::uint32_t ColourRef(Rgb c) {
  return std::uint32_t{c.Red} | std::uint32_t{c.Green} << 8 | std::uint32_t{c.Blue} << 16;
}
