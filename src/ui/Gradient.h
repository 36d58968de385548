// The background gradient, row by row: every `band` rows the colour moves one
// unit toward the bottom colour in each channel that has not yet arrived.
#pragma once

#include <vector>

#include "config/Palette16.h"

// The largest of the three channel differences, 0 to 255.
int GradientSteps(Rgb top, Rgb bottom);

// Rows per colour step: height div steps. 0 (a screen lower than steps)
// steps after every row. `steps` must be above 0.
int GradientBand(int screenHeight, int steps);

// One unit toward the target in red, green and blue; an arrived channel stays.
Rgb StepTowards(Rgb current, Rgb target);

// The colour of each row 0 .. height - 1. Empty when the two colours are
// equal: the window is then filled with the top colour in one go.
std::vector<Rgb> GradientRows(Rgb top, Rgb bottom, int screenHeight);
