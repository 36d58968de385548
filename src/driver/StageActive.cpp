#include "driver/StageActive.h"

std::int32_t StageActive = 1;
