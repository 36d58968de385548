#include "ui/ShadowColour.h"

int Luminance(Rgb c) {
  const int hundredths = 30 * c.Red + 59 * c.Green + 11 * c.Blue;
  int whole = hundredths / 100;
  const int rest = hundredths % 100;
  if (rest > 50 || (rest == 50 && whole % 2 != 0)) ++whole;
  return whole;
}

Rgb ShadowColourFor(Rgb titleColour) {
  if (Luminance(titleColour) >= 128) return {0, 0, 0};
  return {255, 255, 255};
}
