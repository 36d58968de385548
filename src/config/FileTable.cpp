#include "config/FileTable.h"

std::unique_ptr<FileRecord> FileTable;

void AppendFileRecord(FileEntry entry) {
  std::unique_ptr<FileRecord>* tail = &FileTable;
  while (*tail) tail = &(*tail)->Next;
  *tail = std::make_unique<FileRecord>();
  (*tail)->Entry = std::move(entry);
}

const FileRecord* FileRecordAt(int k) {
  if (k < 1) return nullptr;
  const FileRecord* record = FileTable.get();
  for (int i = 1; record && i < k; ++i) record = record->Next.get();
  return record;
}

int FileTableLength() {
  int length = 0;
  for (const FileRecord* r = FileTable.get(); r; r = r->Next.get()) ++length;
  return length;
}

void ReleaseFileTable() {
  // Unlinks before releasing, so no release recurses down the list.
  while (FileTable) FileTable = std::move(FileTable->Next);
}
