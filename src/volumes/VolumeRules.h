// The volumes' rules: how they are named after the stub's own file, the disk
// prompt, and when the reassembly stage redraws its gauge. SETUP.EXE reads
// SETUP.01 first, then SETUP.02 to SETUP.09, SETUP.010 ... SETUP.0255.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Path.h"
#include "base/Text.h"

// ".01" for disk 1, otherwise ".0" followed by the disk number in decimal.
FixedText<16> VolumeExtension(int disk);

// The file name of volume `disk` (1 to 255) for a stub file named `stubName`.
Path VolumeFileName(std::string_view stubName, int disk);

// The disk prompt: "Please Insert Disk number " and the number.
FixedText<48> DiskPromptText(int disk);

// What the user is told when a volume's bytes do not match its CRC: the
// disk is damaged or from another set.
FixedText<160> DamagedDiskText(int disk);

// Every block of volume 1 draws (the stage first sets LastPercent to -1),
// above 100 % too; from volume 2 on only a changed percentage of at most 100.
bool ReassemblyDraws(int volume, std::int32_t percent, std::int32_t lastPercent);
