// One run of the installer: start-up, the three dialogs, the finish.
#pragma once

// A failed run ends with the message of base/Failure.h and leaves the
// failure recorded; a stub without its template "Main" ends at once.
void RunInstaller();

// The decoder's chunk buffers, released at the very end of the process.
void ReleaseBuffers();
