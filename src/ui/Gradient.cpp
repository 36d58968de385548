#include "ui/Gradient.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::uint8_t StepChannel(std::uint8_t current, std::uint8_t target) {
  if (current < target) return static_cast<std::uint8_t>(current + 1);
  if (current > target) return static_cast<std::uint8_t>(current - 1);
  return current;
}

}  // namespace

int GradientSteps(Rgb top, Rgb bottom) {
  return std::max({std::abs(top.Red - bottom.Red), std::abs(top.Green - bottom.Green),
                   std::abs(top.Blue - bottom.Blue)});
}

int GradientBand(int screenHeight, int steps) { return screenHeight / steps; }

Rgb StepTowards(Rgb current, Rgb target) {
  return {StepChannel(current.Red, target.Red), StepChannel(current.Green, target.Green),
          StepChannel(current.Blue, target.Blue)};
}

std::vector<Rgb> GradientRows(Rgb top, Rgb bottom, int screenHeight) {
  const int steps = GradientSteps(top, bottom);
  if (steps == 0 || screenHeight <= 0) return {};
  const int band = GradientBand(screenHeight, steps);
  std::vector<Rgb> rows;
  rows.reserve(static_cast<std::size_t>(screenHeight));
  Rgb colour = top;
  int counter = 0;
  for (int y = 0; y < screenHeight; ++y) {
    rows.push_back(colour);
    if (++counter >= band) {
      counter = 0;
      colour = StepTowards(colour, bottom);
    }
  }
  return rows;
}
