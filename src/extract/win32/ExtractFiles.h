// The second half of the extraction stage: cuts every FileEntry's bytes out
// of the open Compress.Spt into DestDir, asking before an existing file is
// replaced, and dates each file. It neither pumps messages nor tests
// StageActive: it always runs to its end, unless the run fails.
#pragma once

#include "base/win32/FileOps.h"

// Clears StageActive when an entry could not be installed whole.
void ExtractFiles(GuardedFile& source);

// Gives an installed file the DOS date and time of its FileEntry as its
// last-write time, lifting a read-only attribute for the time it takes.
// Does nothing when the attributes cannot be read or the read-only
// attribute cannot be lifted; a failed open or close fails the run.
void StampFileDate(const char* path, std::int32_t date);
