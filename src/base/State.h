// Every process-wide variable of the stub, and the types they are made of.
// Each lives from start-up to the end of the process; everything that reads
// or writes one runs on the one thread. Variables that only one file uses
// stay in that file, in an anonymous namespace.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Failure.h"
#include "base/Path.h"
#include "base/Text.h"

// ---- Shared constants and types ---------------------------------------------

// Files move in blocks of this many bytes: volumes, the decoder's streams and
// the installed files' copies.
inline constexpr std::uint16_t BlockSize = 2048;
// The decoder's chunk buffers: one block with room to spare.
inline constexpr std::size_t ChunkBufferSize = 2064;
// The decoded stream in DestDir; the coded one is MessageTable.SplitName.
inline constexpr const char* CompressName = "Compress.Spt";

// Widths of the configuration block's string fields; a field of width W
// holds W - 1 characters.
inline constexpr std::size_t TitleFieldWidth = 40;
inline constexpr std::size_t TitleFontFieldWidth = 30;
inline constexpr std::size_t DefaultDestDirFieldWidth = 128;
inline constexpr std::size_t NameFieldWidth = 40;

struct Rgb {
  std::uint8_t Red;
  std::uint8_t Green;
  std::uint8_t Blue;

  bool operator==(const Rgb&) const = default;
};

// One installed file as the FileTable records it.
struct FileEntry {
  FixedText<NameFieldWidth> Name;
  std::int32_t Date = 0;  // DOS date (high 16 bits) and time (low 16 bits)
  std::int32_t Offset = 0;
  std::int32_t Size = 0;

  bool operator==(const FileEntry&) const = default;
};

// The FileTable: a singly linked list in the order of the block.
struct FileRecord {
  FileEntry Entry;
  FileRecord* Next = nullptr;
  bool Skipped = false;  // the user chose Ignore when it could not be created
};

// The values a run derives from the ConfigTrailer.
struct Configuration {
  std::uint8_t FileCount = 0;
  std::uint8_t LaunchIndex = 0;
  std::uint8_t VolumeCount = 0;
  std::int32_t SplitSize = 0;
  std::int32_t UnpackedSize = 0;
  FixedText<TitleFontFieldWidth> TitleFontFace;
  std::uint8_t TitleHeight = 0;
  std::uint8_t TitleStyle = 0;
  Rgb GradientTopColour{};
  Rgb GradientBottomColour{};
  Rgb TitleColour{};
};

// The installer's user-visible texts. The configuration block replaces
// Caption, TitleText and DefaultDir, and the reassembly stage sets
// VolumeName; every reader takes the current text.
struct MessageTableTexts {
  FixedText<TitleFieldWidth> Caption = "Duzed Ozud";
  Path VolumeName;
  const char* SplitName = "Split.Spt";
  FixedText<DefaultDestDirFieldWidth> DefaultDir = "C:\\";
  const char* Notice = "Installed with Diskspan";
  FixedText<TitleFieldWidth> TitleText = "Rudid Orid Adezovovodiv";
  const char* ConfirmExit = "Do you really want to terminate the program?";
  const char* OverwritePrompt = "File already exists, Overwrite?";
  const char* TerminatedText = "The process has been terminated.";
  const char* InstalledText = "The files have been successfully installed into directory\r\n";
  const char* WrongDiskText =
      "This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter";
};

// Where the progress bar lies in the running stage dialog's client area.
struct GaugeBar {
  std::int32_t BarLeft = 0;
  std::int32_t BarTop = 0;
  std::int32_t BarRight = 0;   // not painted, as with every GDI rectangle
  std::int32_t BarBottom = 0;  // not painted
  std::int32_t BarWidth = 0;   // the span 100 % maps to
  std::int32_t TextX = 0;
  std::int32_t TextY = 0;

  bool operator==(const GaugeBar&) const = default;
};

// The decoder's byte streams. ReadChunkFn copies up to `count` bytes into
// `buffer` and says how many; WriteChunkFn takes `count` bytes, and a count
// of 0 asks it to flush.
using ReadChunkFn = void (*)(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);
using WriteChunkFn = void (*)(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);

// The platform's window handle, declared as its own header does, so this
// header needs no platform header.
struct HWND__;

// ---- Process-wide state -------------------------------------------------------

// Set once at start-up by the driver.
extern Path SourceDir;    // the stub's own directory, ending in a backslash
extern Path ProgramName;  // the stub's file name; the volumes are named after it
extern std::int32_t ScreenWidth;
extern std::int32_t ScreenHeight;
extern std::uint8_t* InBuffer;   // ChunkBufferSize bytes each
extern std::uint8_t* OutBuffer;
extern ReadChunkFn DecoderRead;  // handed to the decoder by the extraction stage
extern WriteChunkFn DecoderWrite;
extern HWND__* BackgroundWindow;  // owner of the dialogs and the final box

// Read from the configuration block at start-up.
extern Configuration Config;
extern MessageTableTexts MessageTable;
extern FileRecord* FileTable;

// SourceDir until the destination dialog is confirmed, then exactly what the
// user entered.
extern Path DestDir;

// Set while the running stage may go on; cleared by Cancel, by a stage's own
// failure and by any failure of the run. Read afresh before every step.
extern std::int32_t StageActive;
// Set when a dialog could not be started or ended with a result other than 1.
extern std::uint8_t Aborted;
// The temporaries this run created in DestDir: only these are deleted at
// the end, never a file of the user's that happens to have their name.
extern std::uint8_t SplitCreated;
extern std::uint8_t CompressCreated;
// Installed files the user chose to leave out (Ignore) when they could not
// be created.
extern std::int32_t SkippedFileCount;
// The first failure of the run (base/Failure.h); none while What is null.
extern Failure RunFailure;

// The progress gauge: where its bar lies, the percentage drawn last (carried
// from the reassembly stage into the extraction stage) and the decoded bytes
// written by full blocks so far.
extern GaugeBar CurrentGauge;
extern std::int32_t LastPercent;
extern std::int32_t WrittenTotal;

// The CRC-32 of each volume, from the set's verification record; the
// volumes are checked as they are copied when VerifiedVolumeCount is not 0
// (sets without a record install unchecked).
inline constexpr int MaxVolumeCrcs = 255;
extern std::uint32_t VolumeCrc[MaxVolumeCrcs];
extern std::int32_t VerifiedVolumeCount;
