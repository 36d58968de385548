#include "extract/SkippedFiles.h"

SkippedFilesMessage SkippedFilesText(std::string_view destDir, const FileRecord* table) {
  SkippedFilesMessage text = "Not all files could be installed into directory\r\n";
  text.Append(destDir);
  text.Append("\r\nThese were left out:");
  int listed = 0;
  int more = 0;
  for (const FileRecord* record = table; record; record = record->Next) {
    if (!record->Skipped) continue;
    if (listed == ListedSkippedFiles) {
      ++more;
      continue;
    }
    text.Append("\r\n");
    text.Append(record->Entry.Name);
    ++listed;
  }
  if (more > 0) {
    char digits[12];
    FormatDecimal(more, digits);
    text.Append("\r\nand ");
    text.Append(digits);
    text.Append(" more");
  }
  return text;
}
