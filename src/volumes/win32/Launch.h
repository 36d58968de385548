// Starts the installed file that LaunchIndex names, through the shell, and
// does not wait for it. A failure to start is not reported.
#pragma once

// Starts nothing when LaunchIndex is 0 or names no FileEntry.
void Launch();
