// The configuration block of a disk set's stub, read from the end of its
// file, and the verification record before it when the set carries one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CodePage.h"
#include "FloppyImage.h"
#include "config/ConfigBlock.h"
#include "config/VerificationRecord.h"

// The whole block read back from the end of a stub file.
struct ConfigBlock {
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
};

// Nothing when the file is too short to hold the block its trailer describes.
std::optional<ConfigBlock> ParseConfigBlock(std::span<const std::uint8_t> file);

// Where the code page the set's texts are read in came from.
enum class CodePageOrigin { Default, Record, Option };

struct SetInfo {
  std::filesystem::path StubPath;
  std::string StubName;    // the installer's file name
  std::string VolumeBase;  // the name its volumes are named after: StubName unless found otherwise
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
  CodePage Texts;  // the code page its names and texts are stored in
  CodePageOrigin TextsFrom = CodePageOrigin::Default;
  std::optional<VerificationRecord> Record;  // the CRC-32s of its parts, if it carries a sound record
  std::string RecordDamage;                  // why the record it carries is damaged; empty when it is not
  std::uint16_t UnknownRecordVersion = 0;    // a record of a version this tool cannot read
  std::string CodePageNote;                  // a code page the record names that cannot be read; empty if none

  // The stub always reads volume 1, whatever VolumeCount says.
  int VolumeCount() const { return Trailer.VolumeCount == 0 ? 1 : Trailer.VolumeCount; }
  // The name of the file to start after installing, or "" for none.
  std::string LaunchName() const;
};

// Reads only the end of the stub: the block and the record. Texts are read
// in `codePage` when given, else in the one the record names, else in
// 1252. Raises ExtractError when the file is missing or not a regular file,
// cannot be read, is no installer (said in words that name what to give
// instead), or carries a damaged file table.
SetInfo ReadSetInfo(const std::filesystem::path& stub, std::optional<CodePage> codePage = std::nullopt);

// The installer inside a disk image: the .EXE whose volume 1 lies beside it,
// else the only .EXE. Raises ExtractError when there is none.
SetInfo ReadSetInfoFromImage(const std::filesystem::path& image, std::optional<CodePage> codePage = std::nullopt);

// The name of that installer among the image's files; "" when there is none.
std::string InstallerInImage(const std::vector<ImageFile>& files);

// The same from bytes in memory (the whole stub file).
SetInfo SetInfoFromBytes(const std::vector<std::uint8_t>& stubFile, const std::string& stubName,
                         std::optional<CodePage> codePage = std::nullopt);
