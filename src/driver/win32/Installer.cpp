#include "driver/win32/Installer.h"

#include <windows.h>

#include <cstdlib>

#include "base/Failure.h"
#include "base/State.h"
#include "config/Configuration.h"
#include "config/win32/ReadConfigBlock.h"
#include "dest/win32/MainDialog.h"
#include "extract/win32/ProgressStage.h"
#include "lzh/ByteStreams.h"
#include "ui/win32/BackgroundWindow.h"
#include "ui/win32/Dialogs.h"
#include "volumes/win32/Launch.h"
#include "volumes/win32/ReassemblyStage.h"

namespace {

// The stage dialogs, in their fixed order after the destination dialog.
struct StageDialog {
  const char* Template;
  DLGPROC Procedure;
};
constexpr StageDialog Stages[] = {{"IProgress", ReassemblyDialogProc},
                                  {"Progress", ProgressDialogProc}};

bool ReadOwnPath(Path& path) {
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), PathCapacity);
  if (length == 0 || length >= PathCapacity) return Fail("cannot name the program's own file", "");
  return true;
}

bool AllocateBuffers() {
  InBuffer = static_cast<std::uint8_t*>(std::malloc(ChunkBufferSize));
  OutBuffer = static_cast<std::uint8_t*>(std::malloc(ChunkBufferSize));
  return (InBuffer && OutBuffer) || Fail("no memory for the chunk buffers", "");
}

bool RunStage(const StageDialog& stage) {
  const HGLOBAL dialogTemplate = LoadDialogTemplate(stage.Template);
  if (!dialogTemplate) return false;
  const INT_PTR result = RunDialog(stage.Template, stage.Procedure);
  FreeResource(dialogTemplate);
  return result == 1;
}

// Sets Aborted at the first dialog that does not end with 1; a failure of
// the run ends the sequence too.
void RunStageSequence(HGLOBAL mainTemplate) {
  const INT_PTR destination = RunDialog("Main", MainDialogProc);
  FreeResource(mainTemplate);
  if (destination != 1) {
    Aborted = 1;
    return;
  }
  for (const StageDialog& stage : Stages) {
    if (!RunStage(stage) || Failed()) {
      Aborted = 1;
      return;
    }
  }
}

void DeleteIfPresent(const Path& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
}

void ShowFinalMessage() {
  FixedText<PathCapacity + 64> text = MessageTable.TerminatedText;
  if (!Aborted) {
    text = MessageTable.InstalledText;
    text.Append(DestDir);
  }
  MessageBoxA(BackgroundWindow, text.c_str(), MessageTable.Caption.c_str(), MB_OK);
}

void Finish() {
  DeleteIfPresent(JoinPath(DestDir, MessageTable.SplitName));
  DeleteIfPresent(JoinPath(DestDir, CompressName));
  // The configured file is started whatever the outcome of the stages; after
  // an abort it starts only if a copy is already in DestDir.
  if (Config.LaunchIndex > 0) Launch();
  ShowFinalMessage();
  ReleaseFileTable();
}

}  // namespace

void RunInstaller() {
  Path ownPath;
  if (!ReadOwnPath(ownPath)) return;
  SourceDir = DirectoryPart(ownPath);
  ProgramName = FileNamePart(ownPath);
  if (!AllocateBuffers()) return;
  DecoderRead = StreamReadChunk;
  DecoderWrite = StreamWriteChunk;
  ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  CreateBackgroundWindow();
  const HGLOBAL mainTemplate = LoadDialogTemplate("Main");
  if (!mainTemplate) return;
  if (!ReadConfigBlock(ownPath)) return;
  RunStageSequence(mainTemplate);
  if (Failed()) return;
  Finish();
}

void ReleaseBuffers() {
  std::free(InBuffer);
  std::free(OutBuffer);
  InBuffer = nullptr;
  OutBuffer = nullptr;
}
