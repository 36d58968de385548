// The second half of the extraction stage: cuts every FileEntry's bytes out
// of the open Compress.Spt into DestDir, asking before an existing file is
// replaced, asking Abort / Retry / Ignore about one it cannot create, and
// dates each file. It neither pumps messages nor tests StageActive: it runs
// to its end unless the user aborts at a file it cannot create or the run
// fails (an entry that is not sound, a short Compress.Spt).
#pragma once

#include "base/win32/FileOps.h"

// Clears StageActive when the user aborts; marks the records the user
// chose to leave out as Skipped and counts them in SkippedFileCount.
void ExtractFiles(GuardedFile& source);

// Gives an installed file the DOS date and time of its FileEntry as its
// last-write time, lifting a read-only attribute for the time it takes.
// Does nothing when the attributes cannot be read or the read-only
// attribute cannot be lifted; a failed open or close fails the run.
void StampFileDate(const char* path, std::int32_t date);
