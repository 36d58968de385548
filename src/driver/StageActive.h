// The one flag that lets a running stage go on. The driver and each stage
// dialog set it; a confirmed Cancel, a stage's own failure and the stage
// dialog's destruction clear it. The decoder and its byte streams read it
// afresh before every step, never caching it, because a Cancel runs nested
// inside their work through the message pump.
#pragma once

#include <cstdint>

extern std::int32_t StageActive;
