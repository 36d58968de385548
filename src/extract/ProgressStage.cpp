#include "extract/ProgressStage.h"

#include <string>

#include "config/Configuration.h"
#include "config/FileTable.h"
#include "config/MessageTable.h"
#include "driver/FileOps.h"
#include "driver/JoinPath.h"
#include "driver/ProcessState.h"
#include "driver/StageActive.h"
#include "driver/StageDialog.h"
#include "extract/ExtractFiles.h"
#include "lzh/ByteStreams.h"
#include "lzh/StreamFiles.h"

namespace {

std::string CompressPath() { return JoinPath(DestDir, CompressName); }

// Replaced and emptied if possible, else opened as it is and overwritten
// from the start.
HANDLE OpenDecodedStream() {
  const std::string path = CompressPath();
  const HANDLE file = TryOpenFile(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (file != INVALID_HANDLE_VALUE) return file;
  return TryOpenFile(path, GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING);
}

void Decode(HANDLE output) {
  const std::string splitPath = JoinPath(DestDir, MessageTable.SplitName);
  StreamOutputFile = output;
  ResetStreams();
  StreamInputFile = TryOpenFile(splitPath, GENERIC_READ, 0, OPEN_EXISTING);
  if (StreamInputFile == INVALID_HANDLE_VALUE) return;
  OwnedFile input(StreamInputFile);
  LzhDecode(Config.UnpackedSize, DecoderRead, DecoderWrite);
  if (StageActive) {
    std::uint16_t unused = 0;
    DecoderWrite(nullptr, 0, unused);
  }
  CloseGuarded(input.release());
  DeleteFileA(splitPath.c_str());
}

// With an empty table there is no first entry: the file is cut at 0.
std::int32_t FirstOffset() { return FileTable ? FileTable->Entry.Offset : 0; }

void CutDecodedStream(HANDLE source) {
  const std::int32_t at = FirstOffset();
  if (at >= 0) {
    SeekGuarded(source, at);
    SetEndOfFile(source);
  }
}

void UncompressAndExtract(HWND) {
  const HANDLE opened = OpenDecodedStream();
  if (opened == INVALID_HANDLE_VALUE) {
    StageActive = 0;
    return;
  }
  OwnedFile output(opened);
  Decode(output.get());
  CloseGuarded(output.release());
  if (!StageActive) return;
  OwnedFile source(OpenFileGuarded(CompressPath(), GENERIC_READ | GENERIC_WRITE, ShareReadWrite,
                                   OPEN_EXISTING));
  ExtractFiles(source.get());
  CutDecodedStream(source.get());
  CloseGuarded(source.release());
}

}  // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return StageDialogMessage(dialog, message, wParam, UncompressAndExtract);
}
