#include "ProgressBar.h"

#include <cstdio>
#include <string>

void ProgressBar::Show(std::int64_t done, std::int64_t total) {
  if (!enabled_ || total <= 0) return;
  const int permille = static_cast<int>(done * 1000 / total);
  if (permille == lastPermille_) return;
  lastPermille_ = permille;
  constexpr int Width = 40;
  const int filled = permille * Width / 1000;
  std::fprintf(stderr, "\r[%s%s] %3d%%  %lld / %lld bytes", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(Width - filled), '.').c_str(), permille / 10,
               static_cast<long long>(done), static_cast<long long>(total));
  shown_ = true;
}

void ProgressBar::Close() {
  if (shown_) std::fputc('\n', stderr);
  shown_ = false;
}
