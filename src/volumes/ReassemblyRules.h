// When the reassembly stage redraws its gauge after a copied block.
#pragma once

#include <cstdint>

// Every block of volume 1 draws (the stage first sets LastPercent to -1),
// above 100 % too; from volume 2 on only a changed percentage of at most 100.
bool ReassemblyDraws(int volume, std::int32_t percent, std::int32_t lastPercent);
