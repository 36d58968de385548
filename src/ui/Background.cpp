#include "ui/Background.h"

namespace {

std::uint8_t StepChannel(std::uint8_t current, std::uint8_t target) {
  if (current < target) return static_cast<std::uint8_t>(current + 1);
  if (current > target) return static_cast<std::uint8_t>(current - 1);
  return current;
}

int Distance(std::uint8_t a, std::uint8_t b) { return a > b ? a - b : b - a; }

}  // namespace

int GradientSteps(Rgb top, Rgb bottom) {
  int steps = Distance(top.Red, bottom.Red);
  if (Distance(top.Green, bottom.Green) > steps) steps = Distance(top.Green, bottom.Green);
  if (Distance(top.Blue, bottom.Blue) > steps) steps = Distance(top.Blue, bottom.Blue);
  return steps;
}

Rgb StepTowards(Rgb current, Rgb target) {
  return {StepChannel(current.Red, target.Red), StepChannel(current.Green, target.Green),
          StepChannel(current.Blue, target.Blue)};
}

bool GradientStart(Rgb top, Rgb bottom, int screenHeight, GradientWalk& walk) {
  const int steps = GradientSteps(top, bottom);
  if (steps == 0 || screenHeight <= 0) return false;
  walk = {top, bottom, screenHeight / steps, 0};
  return true;
}

Rgb GradientNextRow(GradientWalk& walk) {
  const Rgb row = walk.Colour;
  if (++walk.Counter >= walk.Band) {
    walk.Counter = 0;
    walk.Colour = StepTowards(walk.Colour, walk.Bottom);
  }
  return row;
}

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
