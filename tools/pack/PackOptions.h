// What diskspan-pack was asked to make.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "volumes/FloppyFormats.h"

struct PackOptions {
  std::filesystem::path Stub;
  std::filesystem::path OutputDir;
  std::string Name = "SETUP.EXE";
  std::string Title = "Setup";
  std::string Font = "Arial";
  int TitleSize = 8;     // title height in steps of 6 pixels
  int TitleStyle = 3;    // bold, italic
  int TopColour = 12;    // blue
  int BottomColour = 0;  // black
  int TitleColour = 15;  // white
  std::string DefaultDir = "C:\\APPS";
  std::optional<std::string> Launch;
  // The disks' format, whose clusters the volumes are fitted to; null for a
  // plain byte count (volume files with no file system in mind).
  const FloppyFormat* Format = FindFloppyFormat("1.44M");
  std::int64_t VolumeSize = 1457664;  // the format's free bytes, or the count
  bool Images = false;  // also one FAT12 image per disk (needs a floppy format)
  bool Force = false;
  bool Fast = false;  // the lazy parse: about twice as fast, a little larger
  bool Checksums = true;  // write the verification record
  int CodePageNumber = 1252;  // the Windows code page names and texts are stored in
  bool Json = false;           // the summary as one JSON document
  bool DryRun = false;         // code to nowhere and tell what a pack would write
  OutputChoices Output;
  std::vector<std::filesystem::path> Inputs;  // files and folders, in order
  std::vector<std::string> FileLists;         // --files-from: more inputs, one a line ("-": standard input)
  bool NullSeparated = false;                 // the lists' paths end in NUL, not newline
  bool GraftPoints = false;                   // STORED=SOURCE in the arguments and lists
};

// A request the format cannot hold, or an input that cannot be read. The
// message names the offending input; nothing has been written.
class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value the command line cannot mean (exit code 2, like CLI11's own).
class UsageError : public PackError {
 public:
  using PackError::PackError;
};
