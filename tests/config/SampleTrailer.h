// One trailer with every field set, shared by the configuration tests (native
// and under Wine); each test changes the fields it is about.
#pragma once

#include "config/ConfigBlock.h"

inline ConfigTrailer SampleTrailer() {
  return {.FileCount = 2, .LaunchIndex = 2, .VolumeCount = 3, .SplitSize = 3000000, .UnpackedSize = 4106,
          .Title = "Setup", .TitleFont = "Arial", .GradientTopIndex = 12, .GradientBottomIndex = 0,
          .TitleColourIndex = 15, .TitleSize = 43, .TitleStyle = 3, .DefaultDestDir = "C:\\APPS\\GAME"};
}
