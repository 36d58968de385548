// The drop shadow behind the title and the notice: black behind a light
// colour, white behind a dark one.
#pragma once

#include "config/Palette16.h"

// 0.3 R + 0.59 G + 0.11 B rounded to the nearest whole number, an exact half
// going to the even neighbour. Computed in hundredths, so exactly.
int Luminance(Rgb colour);

// Black when the luminance is 128 or more, white otherwise.
Rgb ShadowColourFor(Rgb titleColour);
