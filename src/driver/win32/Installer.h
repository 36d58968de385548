// One run of the installer: start-up, the three dialogs, the finish.
#pragma once

// Returns early, leaving the failure recorded, when the run fails (the
// entry point then ends it silently), and when the template "Main" is missing.
void RunInstaller();

// The decoder's chunk buffers, released at the very end of the process.
void ReleaseBuffers();
