// Reads the configuration block back from the end of the stub's own file,
// one read per field in file order: the trailer into Config and the
// MessageTable, then the FileEntry records into the FileTable.
#pragma once

#include <string_view>

// False, with the failure recorded, when an open, size query, seek, read or
// close fails, a read comes back short, the file is too short for the
// block, the set's verification record is damaged or finds the block
// damaged, or the FileTable is not sound (a damaged set). StageActive is
// set once the trailer has been read.
bool ReadConfigBlock(std::string_view path);
