// The stages' own message pump: while a stage works inside its dialog
// procedure, this is what lets Cancel and painting through.
#pragma once

// Takes every waiting message of the thread; WM_QUIT is dropped, the rest
// translated and dispatched, without the dialog manager's keyboard
// processing. Returns once the queue is empty.
void DrainMessageQueue();
