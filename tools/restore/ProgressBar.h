// A one-line progress bar on standard error, for terminals.
#pragma once

#include <cstdint>

class ProgressBar {
 public:
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}
  ~ProgressBar() { Close(); }
  void Show(std::int64_t done, std::int64_t total);
  void Close();

 private:
  bool enabled_;
  bool shown_ = false;
  int lastPermille_ = -1;
};
