// The background's drawing rules: the gradient, row by row, and the drop
// shadow behind the title and the notice.
#pragma once

#include "base/State.h"

// The largest of the three channel differences, 0 to 255.
int GradientSteps(Rgb top, Rgb bottom);

// One unit toward the target in red, green and blue; an arrived channel stays.
Rgb StepTowards(Rgb current, Rgb target);

// Walks the gradient down the screen: every `Band` rows (height div steps;
// 0, on a screen lower than the steps, steps after every row) the colour
// moves one unit toward the bottom colour in each channel that has not yet
// arrived.
struct GradientWalk {
  Rgb Colour{};
  Rgb Bottom{};
  int Band = 0;
  int Counter = 0;
};

// False when there is nothing to walk: equal colours (the window is then
// filled with the top colour in one go) or no rows.
bool GradientStart(Rgb top, Rgb bottom, int screenHeight, GradientWalk& walk);

// The colour of the next row down.
Rgb GradientNextRow(GradientWalk& walk);

// 0.3 R + 0.59 G + 0.11 B rounded to the nearest whole number, an exact half
// going to the even neighbour. Computed in hundredths, so exactly.
int Luminance(Rgb colour);

// Black when the luminance is 128 or more, white otherwise.
Rgb ShadowColourFor(Rgb titleColour);
