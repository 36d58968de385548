#include "volumes/ReassemblyStage.h"

#include <cstdint>
#include <string>

#include "config/Configuration.h"
#include "config/MessageTable.h"
#include "driver/FileOps.h"
#include "driver/JoinPath.h"
#include "driver/MessagePump.h"
#include "driver/ProcessState.h"
#include "driver/StageActive.h"
#include "driver/StageDialog.h"
#include "ui/GaugeState.h"
#include "ui/ProgressGauge.h"
#include "volumes/ReassemblyRules.h"
#include "volumes/VolumeNames.h"

namespace {

constexpr DWORD BlockSize = 2048;

// Bytes appended to Split.Spt over all volumes so far.
std::int32_t CopiedTotal = 0;

// Volumes are opened for reading and writing although only read: a
// read-only volume or a write-protected disk fails the run.
HANDLE OpenVolume(const std::string& path) {
  return OpenFileGuarded(path, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING);
}

void DrawAfterBlock(int volume) {
  if (volume == 1) LastPercent = -1;
  const std::optional<GaugeReading> reading =
      GaugeCompute(CurrentGauge, CopiedTotal, Config.SplitSize);
  if (reading && ReassemblyDraws(volume, reading->Percent, LastPercent))
    GaugeDraw(reading->FillEdge, reading->Percent);
}

void CopyVolume(HANDLE volumeFile, HANDLE split, int volume) {
  std::uint8_t block[BlockSize];
  while (!AtEndGuarded(volumeFile) && StageActive) {
    const DWORD count = ReadGuarded(volumeFile, block, BlockSize);
    WriteAllGuarded(split, block, count);
    CopiedTotal += static_cast<std::int32_t>(count);
    DrawAfterBlock(volume);
    DrainMessageQueue();
  }
}

void AppendVolume(const std::string& name, HANDLE split, int volume) {
  OwnedFile volumeFile(OpenVolume(JoinPath(SourceDir, name)));
  CopyVolume(volumeFile.get(), split, volume);
  CloseGuarded(volumeFile.release());
}

// Asks for the disk until its volume is there or the user cancels.
void LocateVolume(HWND dialog, const std::string& path, int disk) {
  const std::string prompt = DiskPromptText(disk);
  while (!IsExistingFile(path) && StageActive) {
    const int answer =
        MessageBoxA(dialog, prompt.c_str(), MessageTable.Caption.c_str(), MB_OKCANCEL);
    if (IsExistingFile(path)) continue;
    if (answer == IDOK)
      MessageBoxA(dialog, MessageTable.WrongDiskText.c_str(), "", MB_OK);
    else
      StageActive = 0;
  }
}

void Reassemble(HWND dialog) {
  MessageTable.VolumeName = ReplaceExtension(ProgramName, VolumeExtension(1));
  OwnedFile volumeOne(OpenVolume(JoinPath(SourceDir, MessageTable.VolumeName)));
  OwnedFile split(OpenFileGuarded(JoinPath(DestDir, MessageTable.SplitName), GENERIC_WRITE, 0,
                                  CREATE_ALWAYS));
  CopiedTotal = 0;
  CopyVolume(volumeOne.get(), split.get(), 1);
  CloseGuarded(volumeOne.release());
  for (int disk = 2; disk <= Config.VolumeCount && StageActive; ++disk) {
    MessageTable.VolumeName = ReplaceExtension(MessageTable.VolumeName, VolumeExtension(disk));
    LocateVolume(dialog, JoinPath(SourceDir, MessageTable.VolumeName), disk);
    if (!StageActive) break;
    AppendVolume(MessageTable.VolumeName, split.get(), disk);
  }
  CloseGuarded(split.release());
}

}  // namespace

INT_PTR CALLBACK ReassemblyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return StageDialogMessage(dialog, message, wParam, Reassemble);
}
