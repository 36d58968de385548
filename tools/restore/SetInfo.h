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

struct SetInfo {
  std::filesystem::path StubPath;
  std::string StubName;  // the name the volumes are named after
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
  CodePage Texts;  // the code page its names and texts are stored in
  std::optional<VerificationRecord> Record;  // the CRC-32s of its parts, if it carries a sound record
  std::string RecordDamage;                  // why the record it carries is damaged; empty when it is not
  std::uint16_t UnknownRecordVersion = 0;    // a record of a version this tool cannot read

  // The stub always reads volume 1, whatever VolumeCount says.
  int VolumeCount() const { return Trailer.VolumeCount == 0 ? 1 : Trailer.VolumeCount; }
  // The name of the file to start after installing, or "" for none.
  std::string LaunchName() const;
};

// Reads only the end of the stub: the block and the record; raises
// ExtractError when the file is missing or not a regular file, cannot be
// read, or is too short for the block it describes.
SetInfo ReadSetInfo(const std::filesystem::path& stub, const CodePage& texts = CodePage());

// The installer inside a disk image: the .EXE whose volume 1 lies beside it,
// else the only .EXE. Raises ExtractError when there is none.
SetInfo ReadSetInfoFromImage(const std::filesystem::path& image, const CodePage& texts = CodePage());

// The name of that installer among the image's files; "" when there is none.
std::string InstallerInImage(const std::vector<ImageFile>& files);

// The same from bytes in memory (the whole stub file).
SetInfo SetInfoFromBytes(const std::vector<std::uint8_t>& stubFile, const std::string& stubName,
                         const CodePage& texts = CodePage());
