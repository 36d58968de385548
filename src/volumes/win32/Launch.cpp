#include "volumes/win32/Launch.h"

#include <windows.h>

#include "base/State.h"
#include "config/Configuration.h"
#include "config/win32/SystemCodePage.h"

void Launch() {
  const FileRecord* record = FileRecordAt(Config.LaunchIndex);
  if (!record || !IsPlainRelativePath(record->Entry.Name, SystemLeadByte)) return;
  const Path path = JoinPath(DestDir, record->Entry.Name);
  ShellExecuteA(BackgroundWindow, nullptr, path.c_str(), nullptr, "", SW_SHOW);
}
