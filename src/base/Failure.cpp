#include "base/Failure.h"

#include "base/State.h"

bool Fail(const char* what, std::string_view subject) {
  StageActive = 0;
  if (RunFailure.What) return false;
  RunFailure.What = what;
  RunFailure.Subject = subject;  // a cut subject still names the file well enough
  return false;
}

bool Failed() { return RunFailure.What != nullptr; }

void ClearFailure() { RunFailure = Failure(); }
