// One run of the installer: start-up, the three dialogs, the finish.
#pragma once

// Raises on any failure that nothing handles nearer; the entry point ends
// the run silently then.
void RunInstaller();
