#include "config/Palette16.h"

Rgb PaletteColour(std::uint8_t index) {
  return Palette16[index < Palette16.size() ? index : Palette16.size() - 1];
}
