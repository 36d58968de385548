// The progress gauge's process-wide state that its callers share: where the
// bar lies in the running stage's dialog, and the percentage drawn last. The
// drawing objects themselves live with the Win32 gauge.
#pragma once

#include <cstdint>

#include "ui/GaugeRules.h"

// Set by GaugeSetUp for the stage dialog being shown.
extern GaugeBar CurrentGauge;

// The percentage of the latest GaugeDraw; 0 at process start and carried
// over from the reassembly stage into the extraction stage.
extern std::int32_t LastPercent;
