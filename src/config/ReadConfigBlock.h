// Reads the configuration block back from the end of the stub's own file,
// one read per field in file order: the trailer into Config and the
// MessageTable, then the FileEntry records into the FileTable.
#pragma once

#include <string>

// Raises EFileFailure when an open, size query, seek, read or close fails,
// a read comes back short, or the file is too short for the block.
void ReadConfigBlock(const std::string& path);
