// A file operation that failed where nothing handles it nearer. It unwinds
// to the driver's catch-all, which ends the run silently with exit code 0.
#pragma once

#include <stdexcept>

class EFileFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
