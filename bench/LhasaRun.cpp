#include "LhasaRun.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "LhaArchive.h"
#include "QuietProcess.h"
#include "Stopwatch.h"

namespace bench {

LhasaArchiveFile::LhasaArchiveFile(const std::vector<std::uint8_t>& original,
                                   const std::vector<std::uint8_t>& coded)
    : path_((std::filesystem::temp_directory_path() /
             ("diskspan-bench-" + std::to_string(::getpid()) + ".lzh"))
                .string()) {
  const auto archive = LhaLevel0Archive("CORPUS.BIN", original, coded);
  std::ofstream(path_, std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

LhasaArchiveFile::~LhasaArchiveFile() { std::filesystem::remove(path_); }

bool LhasaInstalled() { return std::system("command -v lhasa >/dev/null 2>&1") == 0; }

std::vector<std::uint8_t> LhasaPrint(const std::string& archive) {
  std::vector<std::uint8_t> out;
  FILE* pipe = ::popen(("lhasa pq " + archive).c_str(), "r");
  if (!pipe) return out;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    out.insert(out.end(), buffer, buffer + n);
  }
  ::pclose(pipe);
  return out;
}

double TimeLhasa(const std::string& archive, int runs) {
  return BestSeconds(runs, [&] { RunQuietly({"lhasa", "pq", archive}); });
}

}  // namespace bench
