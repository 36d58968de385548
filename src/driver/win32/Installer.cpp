#include "driver/win32/Installer.h"

#include <windows.h>

#include "base/Failure.h"
#include "base/Memory.h"
#include "base/State.h"
#include "config/Configuration.h"
#include "config/win32/ReadConfigBlock.h"
#include "dest/win32/MainDialog.h"
#include "extract/SkippedFiles.h"
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
  if (length == 0 || length >= PathCapacity) return Fail("Cannot find the installer's own file.", "");
  return true;
}

bool AllocateBuffers() {
  InBuffer = static_cast<std::uint8_t*>(AllocateMemory(ChunkBufferSize));
  OutBuffer = static_cast<std::uint8_t*>(AllocateMemory(ChunkBufferSize));
  return (InBuffer && OutBuffer) || Fail("Not enough memory for the installer.", "");
}

// A stub whose stage template is missing is damaged: a failure, not a Cancel.
bool RunStage(const StageDialog& stage) {
  const HGLOBAL dialogTemplate = LoadDialogTemplate(stage.Template);
  if (!dialogTemplate) return Fail("Cannot find the installer's dialog", stage.Template);
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

// Only what this run created: after a Cancel in the destination dialog
// DestDir is the stub's own folder, where files of these names are the
// user's.
void DeleteTemporaries() {
  if (SplitCreated) DeleteIfPresent(JoinPath(DestDir, MessageTable.SplitName));
  if (CompressCreated) DeleteIfPresent(JoinPath(DestDir, CompressName));
}

void ShowFinalMessage() {
  SkippedFilesMessage text = MessageTable.TerminatedText;
  if (!Aborted && SkippedFileCount > 0) {
    text = SkippedFilesText(DestDir, FileTable);
  } else if (!Aborted) {
    text = MessageTable.InstalledText;
    text.Append(DestDir);
  }
  MessageBoxA(BackgroundWindow, text.c_str(), MessageTable.Caption.c_str(), MB_OK);
}

// The file to start, unless the user left it out.
bool LaunchFileInstalled() {
  const FileRecord* record = FileRecordAt(Config.LaunchIndex);
  return record && !record->Skipped;
}

void Finish() {
  DeleteTemporaries();
  // Only a complete installation starts the configured file: after a Cancel
  // in the destination dialog DestDir is the stub's own folder, where a file
  // of that name may be anything.
  if (!Aborted && Config.LaunchIndex > 0 && LaunchFileInstalled()) Launch();
  ShowFinalMessage();
  ReleaseFileTable();
}

// A failed run says what failed and where, after deleting the temporaries.
void ReportFailure() {
  DeleteTemporaries();
  MessageBoxA(BackgroundWindow, FailureText(RunFailure).c_str(), MessageTable.Caption.c_str(),
              MB_OK);
}

void RunSteps() {
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

}  // namespace

void RunInstaller() {
  RunSteps();
  if (Failed()) ReportFailure();
}

int InstallerExitCode() {
  if (Failed()) return 1;
  return !Aborted && SkippedFileCount > 0 ? 2 : 0;
}

void ReleaseBuffers() {
  ReleaseMemory(InBuffer);
  ReleaseMemory(OutBuffer);
  InBuffer = nullptr;
  OutBuffer = nullptr;
}
