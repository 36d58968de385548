#include "SetInfo.h"

#include <fstream>

#include "Checksums.h"
#include "ExtractError.h"
#include "FileIdentity.h"
#include "FloppyImage.h"
#include "SetChecks.h"
#include "volumes/VolumeRules.h"

std::optional<ConfigBlock> ParseConfigBlock(std::span<const std::uint8_t> file) {
  if (file.size() < ConfigTrailerSize) return std::nullopt;
  ConfigBlock block;
  block.Trailer = DecodeTrailer(file.last<ConfigTrailerSize>());
  const auto start = FileTableOffset(static_cast<std::int64_t>(file.size()), block.Trailer.FileCount);
  if (!start) return std::nullopt;
  for (int i = 0; i < block.Trailer.FileCount; ++i) {
    const auto record = file.subspan(static_cast<std::size_t>(*start) + i * FileEntrySize)
                            .first<FileEntrySize>();
    block.Entries.push_back(DecodeFileEntry(record));
  }
  return block;
}

std::string SetInfo::LaunchName() const {
  const int index = Trailer.LaunchIndex;
  if (index < 1 || index > static_cast<int>(Entries.size())) return {};
  return Entries[static_cast<std::size_t>(index - 1)].Name.c_str();
}

namespace {

std::string NotAnInstaller(const std::string& name) {
  return name + " is not a disk set installer (no configuration block at its end)";
}

// Nothing of a file is shown or used unless its end reads as a block.
void CheckPlausible(std::span<const std::uint8_t> bytes, const ConfigBlock& block, const std::string& name,
                    const CodePage& texts) {
  if (auto problem = ImplausibleBlock(bytes, block.Trailer, block.Entries, texts))
    throw ExtractError(NotAnInstaller(name) + ": " + *problem);
}

SetInfo MakeSetInfo(const std::filesystem::path& path, const std::string& name, const ConfigBlock& block,
                    const CodePage& texts, FoundRecord record) {
  return {path, name, block.Trailer, block.Entries, texts, std::move(record.Sound), std::move(record.Damage),
          record.UnknownVersion};
}

}  // namespace

SetInfo SetInfoFromBytes(const std::vector<std::uint8_t>& stubFile, const std::string& stubName,
                         const CodePage& texts) {
  const auto block = ParseConfigBlock(stubFile);
  if (!block)
    throw ExtractError(NotAnInstaller(stubName) + ": " + std::to_string(stubFile.size()) +
                       " bytes are too few for the block it describes");
  CheckPlausible(stubFile, *block, stubName, texts);
  return MakeSetInfo(stubName, stubName, *block, texts, FindVerificationRecord(stubFile, 0, block->Trailer));
}

SetInfo ReadSetInfo(const std::filesystem::path& stub, const CodePage& texts) {
  if (const auto problem = RegularFileProblem(stub)) throw ExtractError(stub.string() + ": " + *problem);
  std::error_code error;
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(stub, error));
  if (error) throw ExtractError(stub.string() + ": " + error.message());
  // Only the end is needed: at most the largest record, 255 entries and the trailer.
  const std::int64_t tail = std::min<std::int64_t>(size, LargestSetupTail);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(tail));
  std::ifstream in(stub, std::ios::binary);
  in.seekg(size - tail);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), tail))
    throw ExtractError(stub.string() + ": cannot read its configuration block");
  const auto block = ParseConfigBlock(bytes);
  if (!block)
    throw ExtractError(NotAnInstaller(stub.string()) + ": " + std::to_string(size) +
                       " bytes are too few for the block it describes");
  CheckPlausible(bytes, *block, stub.string(), texts);
  return MakeSetInfo(stub, stub.filename().string(), *block, texts,
                     FindVerificationRecord(bytes, size - tail, block->Trailer));
}

std::string InstallerInImage(const std::vector<ImageFile>& files) {
  std::vector<std::string> installers;
  for (const ImageFile& f : files)
    if (f.Name.size() > 4 && SameFileName(f.Name.substr(f.Name.size() - 4), ".EXE")) installers.push_back(f.Name);
  std::string chosen = installers.size() == 1 ? installers.front() : "";
  for (const std::string& installer : installers)
    for (const ImageFile& f : files)
      if (SameFileName(f.Name, VolumeFileName(installer, 1).c_str())) chosen = installer;
  return chosen;
}

SetInfo ReadSetInfoFromImage(const std::filesystem::path& image, const CodePage& texts) {
  const std::string chosen = InstallerInImage(ListImage(image));
  if (chosen.empty())
    throw ExtractError(image.string() + ": holds no installer (an .EXE with its volume 1 beside it)");
  const auto bytes = ReadImageFile(image, chosen);
  SetInfo info = SetInfoFromBytes(bytes, chosen, texts);
  info.StubPath = image.string() + ":" + chosen;
  return info;
}
