// The installed files in the order of the block: a singly linked list whose
// records are allocated one by one as they are read and released by the
// driver at the end of the run. The order is the order of extraction and the
// numbering that LaunchIndex counts from 1.
#pragma once

#include <memory>

#include "config/ConfigBlock.h"

struct FileRecord {
  FileEntry Entry;
  std::unique_ptr<FileRecord> Next;
};

extern std::unique_ptr<FileRecord> FileTable;

// Appends at the end of the list.
void AppendFileRecord(FileEntry entry);

// The k-th record counted from 1, or null when there is none.
const FileRecord* FileRecordAt(int k);

int FileTableLength();

// Releases every record from the head onward, one at a time.
void ReleaseFileTable();
