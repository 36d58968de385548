#include "driver/Installer.h"

#include <windows.h>

#include <string>

#include "config/Configuration.h"
#include "config/FileTable.h"
#include "config/MessageTable.h"
#include "config/ReadConfigBlock.h"
#include "dest/MainDialog.h"
#include "driver/Dialogs.h"
#include "driver/EFileFailure.h"
#include "driver/JoinPath.h"
#include "driver/ProcessState.h"
#include "extract/ProgressStage.h"
#include "lzh/ByteStreams.h"
#include "lzh/StreamFiles.h"
#include "ui/BackgroundWindow.h"
#include "volumes/Launch.h"
#include "volumes/ReassemblyStage.h"

namespace {

// The stage dialogs, in their fixed order after the destination dialog.
struct StageDialog {
  const char* Template;
  DLGPROC Procedure;
};
constexpr StageDialog Stages[] = {{"IProgress", ReassemblyDialogProc},
                                  {"Progress", ProgressDialogProc}};

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw EFileFailure("cannot name the program's own file");
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= 32768) throw EFileFailure("the program's own path is too long");
    path.resize(path.size() * 2);
  }
}

bool RunStage(const StageDialog& stage) {
  const HGLOBAL dialogTemplate = LoadDialogTemplate(stage.Template);
  if (!dialogTemplate) return false;
  const INT_PTR result = RunDialog(stage.Template, stage.Procedure);
  FreeResource(dialogTemplate);
  return result == 1;
}

void RunStageSequence(HGLOBAL mainTemplate) {
  const INT_PTR destination = RunDialog("Main", MainDialogProc);
  FreeResource(mainTemplate);
  if (destination != 1) {
    Aborted = 1;
    return;
  }
  for (const StageDialog& stage : Stages) {
    if (!RunStage(stage)) {
      Aborted = 1;
      return;
    }
  }
}

void DeleteIfPresent(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
}

void ShowFinalMessage() {
  const std::string text =
      Aborted ? MessageTable.TerminatedText : MessageTable.InstalledText + DestDir;
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
  const std::string ownPath = OwnPath();
  SourceDir = DirectoryPart(ownPath);
  ProgramName = FileNamePart(ownPath);
  AllocateBuffers();
  DecoderRead = StreamReadChunk;
  DecoderWrite = StreamWriteChunk;
  BindStreamsToWin32();
  ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  CreateBackgroundWindow();
  const HGLOBAL mainTemplate = LoadDialogTemplate("Main");
  if (!mainTemplate) return;
  ReadConfigBlock(ownPath);
  RunStageSequence(mainTemplate);
  Finish();
}
