#include "volumes/Launch.h"

#include <windows.h>

#include <string>

#include "config/Configuration.h"
#include "config/FileTable.h"
#include "driver/JoinPath.h"
#include "driver/ProcessState.h"
#include "ui/BackgroundWindow.h"

void Launch() {
  const FileRecord* record = FileRecordAt(Config.LaunchIndex);
  if (!record) return;
  const std::string path = JoinPath(DestDir, record->Entry.Name);
  ShellExecuteA(BackgroundWindow, nullptr, path.c_str(), nullptr, "", SW_SHOW);
}
