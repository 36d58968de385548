// How the stub fails: the one model every part of it follows.
//
// A failure is an operation that did not succeed where the run cannot go on:
// a guarded file operation (base/win32/FileOps.h), the program's own path,
// memory for the decoder or the file table. Cancel is no failure, and
// neither is what a stage handles itself (a directory that cannot be made,
// Compress.Spt that cannot be opened, an installed file that cannot be
// created): the Try forms of the file operations report those without
// recording anything.
//
// A failure travels as state, never as a C++ exception. Fail() records the
// first one in RunFailure, naming what failed and the path concerned, and
// clears StageActive, so the stage loops, the decoder and its byte streams
// stop at their next test exactly as they do for Cancel. The function that
// met it returns false (or an invalid handle) and its callers return at once.
//
// It ends in the driver, which asks Failed() after every step: the run then
// ends silently with exit code 0, without the later stages, the deletion of
// the temporary files, the launch or the final message.
#pragma once

#include <string_view>

#include "base/Path.h"

struct Failure {
  const char* What = nullptr;  // a fixed text, e.g. "cannot read"
  Path Subject;                // the path it concerns, cut if need be
};

// Records the failure unless one is recorded already; clears StageActive.
// Returns false, so a caller can write `return Fail(...)`.
bool Fail(const char* what, std::string_view subject);

bool Failed();

// Forgets the recorded failure (a new run, or a test).
void ClearFailure();
