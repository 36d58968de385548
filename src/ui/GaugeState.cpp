#include "ui/GaugeState.h"

GaugeBar CurrentGauge;
std::int32_t LastPercent = 0;
