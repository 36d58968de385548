// Feeds arbitrary bytes to the configuration block readers: a damaged or
// hostile stub file must never read out of bounds, and what decodes must
// encode back to a record that decodes the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/ConfigBlock.h"
#include "config/Configuration.h"
#include "SetInfo.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTrailer(std::span<const std::uint8_t, ConfigTrailerSize> bytes) {
  const ConfigTrailer trailer = DecodeTrailer(bytes);
  Check(trailer.Title.size() < TitleFieldWidth);
  Check(trailer.TitleFont.size() < TitleFontFieldWidth);
  Check(trailer.DefaultDestDir.size() < DefaultDestDirFieldWidth);
  Check(DecodeTrailer(EncodeTrailer(trailer)) == trailer);

  Configuration config;
  MessageTableTexts texts;
  StoreTrailer(trailer, config, texts);
  Check(texts.Caption == trailer.Title);
  Check(config.TitleHeight == TitleHeightFor(trailer.TitleSize));
}

void CheckEntry(std::span<const std::uint8_t, FileEntrySize> bytes) {
  const FileEntry entry = DecodeFileEntry(bytes);
  Check(entry.Name.size() < NameFieldWidth);
  Check(DecodeFileEntry(EncodeFileEntry(entry)) == entry);
}

void CheckBlock(std::span<const std::uint8_t> file) {
  const auto block = ParseConfigBlock(file);
  if (!block) return;
  Check(block->Entries.size() == block->Trailer.FileCount);
  Check(file.size() >= ConfigTrailerSize + block->Entries.size() * FileEntrySize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckBlock(bytes);
  if (size >= ConfigTrailerSize) CheckTrailer(bytes.first<ConfigTrailerSize>());
  if (size >= FileEntrySize) CheckEntry(bytes.last<FileEntrySize>());
  return 0;
}
