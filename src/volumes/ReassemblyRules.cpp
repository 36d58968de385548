#include "volumes/ReassemblyRules.h"

bool ReassemblyDraws(int volume, std::int32_t percent, std::int32_t lastPercent) {
  if (volume == 1) return true;
  return percent != lastPercent && percent <= 100;
}
