// Temporaries that must not outlive the process: a fixed table of their
// paths that a signal handler can walk. SIGINT, SIGTERM and SIGHUP remove
// every registered temporary, then end the process as the signal would.
#pragma once

namespace temporaries {

// Installs the handlers once; later calls do nothing.
void RemoveOnSignals();

// Registers a path (copied); returns its slot, or -1 when the path is too
// long or the table is full (the caller then makes no such temporary).
int Register(const char* path);

// The temporary was renamed or removed: the handler leaves that path alone.
void Unregister(int slot);

// Keeps the handlers from running inside a commit that moves several
// files; pending signals arrive when the guard ends.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
};

}  // namespace temporaries
