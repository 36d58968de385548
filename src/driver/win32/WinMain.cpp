// The stub's main procedure, called by StubEntry (Entry.cpp). It takes no
// arguments. It ends with exit code 0, a Cancel included, 1 after a failure
// of the run (base/Failure.h), or 2 when files were left out.
#include <windows.h>

#include "driver/win32/Installer.h"

namespace {

// Looks a kernel32 function up at run time: older systems lack these.
template <typename Function>
Function Kernel32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// DLLs that user32 and shell32 load later come from System32 only, never
// from the stub's own folder, where anything may lie beside a download.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  const auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  const auto setDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryA");
  if (setDirectory) setDirectory("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();
  RunInstaller();
  ReleaseBuffers();
  return InstallerExitCode();
}
