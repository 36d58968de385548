#include "extract/win32/ProgressStage.h"

#include "base/Failure.h"
#include "base/State.h"
#include "base/win32/FileOps.h"
#include "extract/win32/ExtractFiles.h"
#include "lzh/ByteStreams.h"
#include "lzh/lzh.h"
#include "ui/Layout.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/ProgressGauge.h"

namespace {

Path CompressPath() { return JoinPath(DestDir, CompressName); }

// The files the byte streams read and write during the decode.
HANDLE StreamInputFile = INVALID_HANDLE_VALUE;
HANDLE StreamOutputFile = INVALID_HANDLE_VALUE;

// A failed read counts as the end of the input: the decoder reads zero bits,
// and the stream then fails the check of its consumption.
std::uint32_t ReadInputFile(std::uint8_t* buffer, std::uint32_t count) {
  DWORD read = 0;
  if (!ReadFile(StreamInputFile, buffer, count, &read, nullptr)) return 0;
  return read;
}

// A failed or short write fails the run, naming Compress.Spt.
std::uint32_t WriteOutputFile(const std::uint8_t* buffer, std::uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(StreamOutputFile, buffer, count, &written, nullptr)) {
    Fail("Cannot write", CompressPath(), GetLastError());
    return 0;
  }
  if (written != count) Fail("Cannot write", CompressPath(), PlatformError::DiskFull);
  return written;
}

std::uint32_t TickCount() { return GetTickCount(); }

// The gauge follows each block against UnpackedSize, redrawn only when its
// percentage changes.
void ShowDecodeProgress(std::int32_t writtenTotal) {
  const std::optional<GaugeReading> reading =
      GaugeChange(CurrentGauge, writtenTotal, Config.UnpackedSize, LastPercent);
  if (reading) GaugeDraw(reading->FillEdge, reading->Percent);
}

// Replaced and emptied if possible, else opened as it is and overwritten
// from the start.
HANDLE OpenDecodedStream() {
  const Path path = CompressPath();
  const HANDLE file = TryOpenFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (file != INVALID_HANDLE_VALUE) return file;
  return TryOpenFile(path.c_str(), GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING);
}

bool Decode(GuardedFile& output) {
  const Path splitPath = JoinPath(DestDir, MessageTable.SplitName);
  StreamOutputFile = output.Handle;
  BindStreamPorts({ReadInputFile, WriteOutputFile, DrainMessageQueue, TickCount, ShowDecodeProgress});
  ResetStreams();
  GuardedFile input;
  if (!OpenGuarded(input, splitPath, GENERIC_READ, 0, OPEN_EXISTING)) return false;
  StreamInputFile = input.Handle;
  if (!LzhDecode(Config.UnpackedSize, DecoderRead, DecoderWrite, &StageActive)) return false;
  if (StageActive) {
    std::uint16_t unused = 0;
    DecoderWrite(nullptr, 0, unused);
  }
  if (!CloseGuarded(input)) return false;
  // A stream that ends early or runs on is not the one the block describes.
  if (StageActive && !InputConsumedExactly(Config.SplitSize)) return Fail(DamagedSetText, "");
  DeleteFileA(splitPath.c_str());
  return true;
}

// With an empty table there is no first entry: the file is cut at 0.
void CutDecodedStream(GuardedFile& source) {
  const std::int32_t at = FileTable ? FileTable->Entry.Offset : 0;
  if (at >= 0 && SeekGuarded(source, at) && !SetEndOfFile(source.Handle))
    Fail("Cannot shorten", source.Name, GetLastError());
}

void UncompressAndExtract(HWND) {
  const HANDLE opened = OpenDecodedStream();
  // No room or no right to write there is a failure, not a Cancel.
  if (opened == INVALID_HANDLE_VALUE) {
    Fail("Cannot create", CompressPath(), GetLastError());
    return;
  }
  CompressCreated = 1;
  GuardedFile output;
  AdoptGuarded(output, opened, CompressPath());
  if (!Decode(output) || !CloseGuarded(output) || !StageActive) return;
  GuardedFile source;
  if (!OpenGuarded(source, CompressPath(), GENERIC_READ | GENERIC_WRITE, ShareReadWrite,
                   OPEN_EXISTING))
    return;
  ExtractFiles(source);
  if (Failed()) return;
  CutDecodedStream(source);
  CloseGuarded(source);
}

}  // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return StageDialogMessage(dialog, message, wParam, UncompressAndExtract);
}
