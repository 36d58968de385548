// One run of the installer: start-up, the three dialogs, the finish.
#pragma once

// A failed run ends with the message of base/Failure.h and leaves the
// failure recorded; a stub without its template "Main" ends at once.
void RunInstaller();

// 1 after a failure, 2 when the run ended with files the user left out,
// else 0 (a Cancel included).
int InstallerExitCode();

// The decoder's chunk buffers, released at the very end of the process.
void ReleaseBuffers();
