#include "ProgressLine.h"

#include <unistd.h>

#include <cstdio>

ProgressLine::ProgressLine(bool enabled, bool forced) : enabled_(forced || (enabled && ::isatty(STDERR_FILENO))) {}

void ProgressLine::Show(std::int64_t done, std::int64_t total, const std::string& detail) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && done < total && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  constexpr int Width = 30;
  const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
  const int filled = percent * Width / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%%  %s of %s  %s\x1b[K", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(Width - filled), '.').c_str(), percent,
               ReadableSize(done).c_str(), ReadableSize(total).c_str(), detail.c_str());
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::Close() {
  if (shown_) std::fputs("\r\x1b[K", stderr);
  shown_ = false;
}

std::string ReadableSize(std::int64_t bytes) {
  char text[32];
  if (bytes < 10000) {
    std::snprintf(text, sizeof text, "%lld %s", static_cast<long long>(bytes), bytes == 1 ? "byte" : "bytes");
  } else if (bytes < 10'000'000) {
    std::snprintf(text, sizeof text, "%.1f kB", static_cast<double>(bytes) / 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  }
  return text;
}
