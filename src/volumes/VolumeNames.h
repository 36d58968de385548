// How the volumes of a set are named after the stub's own file: SETUP.EXE
// reads SETUP.01 first, then SETUP.02 to SETUP.09, SETUP.010 ... SETUP.0255.
#pragma once

#include <string>
#include <string_view>

// Replaces the extension (from the last dot after the last backslash or
// colon) with `extension`, or appends it when the name has none.
std::string ReplaceExtension(std::string_view name, std::string_view extension);

// ".01" for disk 1, otherwise ".0" followed by the disk number in decimal.
std::string VolumeExtension(int disk);

// The file name of volume `disk` (1 to 255) for a stub file named `stubName`.
std::string VolumeFileName(std::string_view stubName, int disk);

// The disk prompt: "Please Insert Disk number " and the number.
std::string DiskPromptText(int disk);
