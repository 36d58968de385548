// One trailer with every field set, shared by the configuration tests (native
// and under Wine); each test changes the fields it is about.
#pragma once

#include "config/ConfigBlock.h"

inline ConfigTrailer SampleTrailer() {
  ConfigTrailer t;
  t.FileCount = 2;
  t.LaunchIndex = 2;
  t.VolumeCount = 3;
  t.SplitSize = 3000000;
  t.UnpackedSize = 4106;
  t.Title = "Setup";
  t.TitleFont = "Arial";
  t.GradientTopIndex = 12;
  t.GradientBottomIndex = 0;
  t.TitleColourIndex = 15;
  t.TitleSize = 43;
  t.TitleStyle = 3;
  t.DefaultDestDir = "C:\\APPS\\GAME";
  return t;
}
