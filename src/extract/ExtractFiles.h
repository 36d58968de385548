// The second half of the extraction stage: cuts every FileEntry's bytes out
// of the open Compress.Spt into DestDir, asking before an existing file is
// replaced, and dates each file. It neither pumps messages nor tests
// StageActive: it always runs to its end.
#pragma once

#include <windows.h>

// Clears StageActive when an entry could not be installed whole.
void ExtractFiles(HANDLE source);
