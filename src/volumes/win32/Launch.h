// Starts the installed file that LaunchIndex names, through the shell, and
// does not wait for it. A failure to start is not reported.
#pragma once

// Starts nothing when LaunchIndex is 0, names no FileEntry, or names one
// whose name is not a plain file name.
void Launch();
