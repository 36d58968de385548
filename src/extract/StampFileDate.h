// Gives an installed file the DOS date and time of its FileEntry as its
// last-write time, lifting a read-only attribute for the time it takes.
#pragma once

#include <cstdint>
#include <string>

// Does nothing when the attributes cannot be read or the read-only
// attribute cannot be lifted; a failed open or close raises EFileFailure.
void StampFileDate(const std::string& path, std::int32_t date);
