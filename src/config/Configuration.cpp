#include "config/Configuration.h"

#include <new>

#include "base/Failure.h"
#include "base/Memory.h"

void StoreTrailerField(TrailerField field, const ConfigTrailer& t, Configuration& c,
                       MessageTableTexts& texts) {
  switch (field) {
    case TrailerField::FileCount: c.FileCount = t.FileCount; break;
    case TrailerField::LaunchIndex: c.LaunchIndex = t.LaunchIndex; break;
    case TrailerField::VolumeCount: c.VolumeCount = t.VolumeCount; break;
    case TrailerField::SplitSize: c.SplitSize = t.SplitSize; break;
    case TrailerField::UnpackedSize: c.UnpackedSize = t.UnpackedSize; break;
    case TrailerField::Title:
      texts.TitleText = t.Title;
      texts.Caption = t.Title;
      break;
    case TrailerField::TitleFont: c.TitleFontFace = t.TitleFont; break;
    case TrailerField::GradientTopIndex:
      c.GradientTopColour = PaletteColour(t.GradientTopIndex);
      break;
    case TrailerField::GradientBottomIndex:
      c.GradientBottomColour = PaletteColour(t.GradientBottomIndex);
      break;
    case TrailerField::TitleColourIndex: c.TitleColour = PaletteColour(t.TitleColourIndex); break;
    case TrailerField::TitleSize: c.TitleHeight = TitleHeightFor(t.TitleSize); break;
    case TrailerField::TitleStyle: c.TitleStyle = t.TitleStyle; break;
    case TrailerField::DefaultDestDir: texts.DefaultDir = t.DefaultDestDir; break;
  }
}

void StoreTrailer(const ConfigTrailer& trailer, Configuration& config, MessageTableTexts& texts) {
  for (std::size_t i = 0; i < TrailerFieldWidths.size(); ++i)
    StoreTrailerField(static_cast<TrailerField>(i), trailer, config, texts);
}

bool AppendFileRecord(const FileEntry& entry) {
  auto* record = static_cast<FileRecord*>(AllocateMemory(sizeof(FileRecord)));
  if (!record) return Fail("Not enough memory for the file table.", "");
  new (record) FileRecord{entry, nullptr};
  FileRecord** tail = &FileTable;
  while (*tail) tail = &(*tail)->Next;
  *tail = record;
  return true;
}

const FileRecord* FileRecordAt(int k) {
  if (k < 1) return nullptr;
  const FileRecord* record = FileTable;
  for (int i = 1; record && i < k; ++i) record = record->Next;
  return record;
}

int FileTableLength() {
  int length = 0;
  for (const FileRecord* r = FileTable; r; r = r->Next) ++length;
  return length;
}

void ReleaseFileTable() {
  while (FileTable) {
    FileRecord* next = FileTable->Next;
    ReleaseMemory(FileTable);
    FileTable = next;
  }
}

bool EntryIsSound(const FileEntry& entry, std::int32_t unpackedSize, LeadByteTest isLeadByte) {
  if (!IsPlainRelativePath(entry.Name, isLeadByte) || IsTemporaryName(entry.Name)) return false;
  if (entry.Offset < 0 || entry.Size < 0) return false;
  return std::int64_t{entry.Offset} + entry.Size <= unpackedSize;
}

namespace {

FixedText<NameFieldWidth> UpperCased(const FixedText<NameFieldWidth>& name, UpperCaseFn upperCase) {
  FixedText<NameFieldWidth> upper = name;
  upperCase(upper.data(), upper.size());
  return upper;
}

}  // namespace

// Both are whole names, so the byte after the shorter one starts a character.
bool NamesCollide(std::string_view a, std::string_view b) {
  if (a.size() > b.size()) return NamesCollide(b, a);
  if (std::string_view(b.data(), a.size()) != a) return false;
  return a.size() == b.size() || b[a.size()] == '\\';
}

bool FileTableIsSound(std::int32_t unpackedSize, LeadByteTest isLeadByte, UpperCaseFn upperCase) {
  for (const FileRecord* record = FileTable; record; record = record->Next) {
    if (!EntryIsSound(record->Entry, unpackedSize, isLeadByte)) return false;
    const FixedText<NameFieldWidth> name = UpperCased(record->Entry.Name, upperCase);
    for (const FileRecord* later = record->Next; later; later = later->Next)
      if (NamesCollide(name, UpperCased(later->Entry.Name, upperCase))) return false;
  }
  return true;
}
