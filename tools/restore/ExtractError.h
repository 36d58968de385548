// A set that cannot be read as asked: the message names the file and what
// was wrong with it.
#pragma once

#include <stdexcept>

class ExtractError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
