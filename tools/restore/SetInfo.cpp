#include "SetInfo.h"

#include <fstream>

#include "Checksums.h"
#include "ExtractError.h"
#include "FileIdentity.h"
#include "FloppyImage.h"
#include "SetChecks.h"
#include "WrongFile.h"
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

// Raised for a file whose end is no configuration block at all.
class NoBlock : public ExtractError {
 public:
  NoBlock() : ExtractError("no configuration block") {}
};

// The code page asked for; else the one a sound record names; else 1252.
void ChooseCodePage(SetInfo& set, std::optional<CodePage> asked) {
  if (asked) {
    set.Texts = *asked;
    set.TextsFrom = CodePageOrigin::Option;
    return;
  }
  const std::uint32_t named = set.Record ? set.Record->CodePage : 0;
  if (named == 0) return;
  const auto number = ParseCodePageNumber(std::to_string(named));
  try {
    if (number) {
      set.Texts = CodePage(*number);
      set.TextsFrom = CodePageOrigin::Record;
      return;
    }
  } catch (const CodePageError&) {
  }
  set.CodePageNote = set.StubName + " names code page " + std::to_string(named) +
                     ", which this diskspan-extract cannot read: its texts are read in 1252 (--codepage names another)";
}

// The set at the end of `tail`, the last bytes of a setup file that start
// at `tailStart` in it. Raises NoBlock when they are no set's trailer, and
// ExtractError when the table is damaged.
SetInfo SetFromTail(std::span<const std::uint8_t> tail, std::int64_t tailStart, const std::filesystem::path& path,
                    const std::string& name, std::optional<CodePage> asked) {
  const auto block = ParseConfigBlock(tail);
  if (!block || ImplausibleTrailer(tail, block->Trailer, block->Entries.size())) throw NoBlock();
  FoundRecord record = FindVerificationRecord(tail, tailStart, block->Trailer);
  SetInfo set{path, name, name, block->Trailer, block->Entries, CodePage(), CodePageOrigin::Default,
              std::move(record.Sound), std::move(record.Damage), record.UnknownVersion, {}};
  ChooseCodePage(set, asked);
  if (const auto problem = ImplausibleEntries(tail, set.Trailer, set.Entries, set.Texts))
    throw ExtractError(path.string() + " is a damaged installer (" + *problem + "): get a good copy of disk 1");
  return set;
}

std::vector<std::uint8_t> ReadPart(const std::filesystem::path& path, std::int64_t from, std::int64_t size) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  in.seekg(from);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) throw ExtractError(path.string() + ": cannot read it");
  return bytes;
}

constexpr std::int64_t HeadSize = 64 * 1024;  // a bare stub whole, and any program's headers

}  // namespace

SetInfo SetInfoFromBytes(const std::vector<std::uint8_t>& stubFile, const std::string& stubName,
                         std::optional<CodePage> codePage) {
  const auto size = static_cast<std::int64_t>(stubFile.size());
  const auto head = std::span(stubFile).first(static_cast<std::size_t>(std::min(size, HeadSize)));
  if (const auto bare = BareProgram(stubName, head, size)) throw ExtractError(*bare);
  try {
    return SetFromTail(stubFile, 0, stubName, stubName, codePage);
  } catch (const NoBlock&) {
    throw ExtractError(stubName + " is not a disk set installer (no configuration block at its end)");
  }
}

SetInfo ReadSetInfo(const std::filesystem::path& stub, std::optional<CodePage> codePage) {
  if (const auto problem = RegularFileProblem(stub)) throw ExtractError(stub.string() + ": " + *problem);
  std::error_code error;
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(stub, error));
  if (error) throw ExtractError(stub.string() + ": " + error.message());
  if (const auto bare = BareProgram(stub.string(), ReadPart(stub, 0, std::min(size, HeadSize)), size))
    throw ExtractError(*bare);
  // Only the end is needed: at most the largest record, 255 entries and the trailer.
  const std::int64_t tail = std::min<std::int64_t>(size, LargestSetupTail);
  try {
    return SetFromTail(ReadPart(stub, size - tail, tail), size - tail, stub, stub.filename().string(), codePage);
  } catch (const NoBlock&) {
    throw ExtractError(NotAnInstaller(stub));
  }
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

SetInfo ReadSetInfoFromImage(const std::filesystem::path& image, std::optional<CodePage> codePage) {
  const std::string chosen = InstallerInImage(ListImage(image));
  if (chosen.empty())
    throw ExtractError(image.string() + ": holds no installer (an .EXE with its volume 1 beside it)");
  const auto bytes = ReadImageFile(image, chosen);
  SetInfo info = SetInfoFromBytes(bytes, chosen, codePage);
  info.StubPath = image.string() + ":" + chosen;
  return info;
}
