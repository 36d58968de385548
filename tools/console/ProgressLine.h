// One line of progress on standard error, redrawn in place at most ten
// times a second, for terminals only: in a pipe or a log it stays silent.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ProgressLine {
 public:
  // Shown when `enabled` and standard error is a terminal, or when forced.
  ProgressLine(bool enabled, bool forced = false);
  ~ProgressLine() { Close(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // A bar for done/total bytes, then `detail` ("file 3 of 12, disk 2 of 5").
  void Show(std::int64_t done, std::int64_t total, const std::string& detail);
  // Clears the line, so what follows starts on a clean one.
  void Close();

 private:
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// "1.4 MB", "512 bytes": sizes as people read them.
std::string ReadableSize(std::int64_t bytes);
