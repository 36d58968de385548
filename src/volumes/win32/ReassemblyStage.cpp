#include "volumes/win32/ReassemblyStage.h"

#include <cstdint>

#include "base/Crc32.h"
#include "base/Failure.h"
#include "base/State.h"
#include "base/win32/FileOps.h"
#include "ui/Layout.h"
#include "ui/win32/Dialogs.h"
#include "ui/win32/ProgressGauge.h"
#include "volumes/VolumeRules.h"

namespace {

// Bytes appended to Split.Spt over all volumes so far.
std::int32_t CopiedTotal = 0;
// The CRC-32 of the bytes copied of the current volume.
std::uint32_t CopiedCrc = 0;

// Volumes are opened for reading only, so a write-protected disk or a
// read-only copy installs.
bool OpenVolume(GuardedFile& volume, std::string_view name) {
  return OpenGuarded(volume, JoinPath(SourceDir, name), GENERIC_READ, ShareReadWrite,
                     OPEN_EXISTING);
}

void DrawAfterBlock(int volume) {
  if (volume == 1) LastPercent = -1;
  const std::optional<GaugeReading> reading =
      GaugeCompute(CurrentGauge, CopiedTotal, Config.SplitSize);
  if (reading && ReassemblyDraws(volume, reading->Percent, LastPercent))
    GaugeDraw(reading->FillEdge, reading->Percent);
}

// Copies the volume block by block, the gauge and the message queue after
// each block, until its end or until StageActive is cleared.
bool CopyVolume(GuardedFile& volumeFile, GuardedFile& split, int volume) {
  std::uint8_t block[BlockSize];
  for (;;) {
    bool atEnd = false;
    if (!AtEndGuarded(volumeFile, atEnd)) return false;
    if (atEnd || !StageActive) return true;
    DWORD count = 0;
    if (!ReadGuarded(volumeFile, block, BlockSize, count)) return false;
    // Volumes longer than the set says are damaged or from another set:
    // stopped before the total passes SplitSize, so it cannot overflow.
    if (std::int64_t{CopiedTotal} + count > Config.SplitSize) return Fail(DamagedSetText, "");
    if (!WriteAllGuarded(split, block, count)) return false;
    CopiedTotal += static_cast<std::int32_t>(count);
    CopiedCrc = UpdateCrc32(CopiedCrc, block, count);
    DrawAfterBlock(volume);
    DrainMessageQueue();
  }
}

bool AppendVolume(std::string_view name, GuardedFile& split, int volume) {
  GuardedFile volumeFile;
  CopiedCrc = 0;
  return OpenVolume(volumeFile, name) && CopyVolume(volumeFile, split, volume) &&
         CloseGuarded(volumeFile);
}

// Asks for the disk until its volume is there or the user cancels.
void LocateVolume(HWND dialog, const Path& path, int disk) {
  const FixedText<48> prompt = DiskPromptText(disk);
  while (!IsExistingFile(path.c_str()) && StageActive) {
    const int answer =
        MessageBoxA(dialog, prompt.c_str(), MessageTable.Caption.c_str(), MB_OKCANCEL);
    if (IsExistingFile(path.c_str())) continue;
    if (answer == IDOK)
      MessageBoxA(dialog, MessageTable.WrongDiskText, "", MB_OK);
    else
      StageActive = 0;
  }
}

// True when the set carries no CRC for the volume or its bytes match it.
bool VolumeIsSound(int disk) {
  return disk > VerifiedVolumeCount || CopiedCrc == VolumeCrc[disk - 1];
}

// While the volume just copied does not match its CRC: says the disk is
// damaged or from another set and, on Retry, copies it again from where it
// began in Split.Spt (asking for the disk again); Cancel stops the stage.
bool CheckVolume(HWND dialog, GuardedFile& split, int disk, std::int32_t start) {
  while (StageActive && !VolumeIsSound(disk)) {
    const FixedText<160> text = DamagedDiskText(disk);
    if (MessageBoxA(dialog, text.c_str(), MessageTable.Caption.c_str(), MB_RETRYCANCEL) !=
        IDRETRY) {
      StageActive = 0;
      break;
    }
    if (!TruncateGuarded(split, start)) return false;
    CopiedTotal = start;
    LocateVolume(dialog, JoinPath(SourceDir, MessageTable.VolumeName), disk);
    if (StageActive && !AppendVolume(MessageTable.VolumeName, split, disk)) return false;
  }
  return true;
}

void Reassemble(HWND dialog) {
  MessageTable.VolumeName = VolumeFileName(ProgramName, 1);
  GuardedFile volumeOne;
  GuardedFile split;
  if (!OpenVolume(volumeOne, MessageTable.VolumeName)) return;
  if (!OpenGuarded(split, JoinPath(DestDir, MessageTable.SplitName), GENERIC_WRITE, 0,
                   CREATE_ALWAYS))
    return;
  SplitCreated = 1;
  CopiedTotal = 0;
  CopiedCrc = 0;
  if (!CopyVolume(volumeOne, split, 1) || !CloseGuarded(volumeOne)) return;
  if (!CheckVolume(dialog, split, 1, 0)) return;
  for (int disk = 2; disk <= Config.VolumeCount && StageActive; ++disk) {
    MessageTable.VolumeName = ReplaceExtension(MessageTable.VolumeName, VolumeExtension(disk));
    LocateVolume(dialog, JoinPath(SourceDir, MessageTable.VolumeName), disk);
    if (!StageActive) break;
    const std::int32_t start = CopiedTotal;
    if (!AppendVolume(MessageTable.VolumeName, split, disk)) return;
    if (!CheckVolume(dialog, split, disk, start)) return;
  }
  if (!CloseGuarded(split)) return;
  // Volumes that do not add up to the stream the block describes are cut
  // short or belong to another set: nothing of them may be installed.
  if (StageActive && CopiedTotal != Config.SplitSize) Fail(DamagedSetText, "");
}

}  // namespace

INT_PTR CALLBACK ReassemblyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return StageDialogMessage(dialog, message, wParam, Reassemble);
}
