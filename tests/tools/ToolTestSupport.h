// Shared by the tool tests: temporary directories, files, running a tool,
// and writing raw disk sets with any block we like.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"

namespace tooltest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Slurp(const fs::path& path);
void Spill(const fs::path& path, const Bytes& data);
Bytes RandomBytes(std::size_t n, unsigned seed);
// Text-like bytes that compress a little.
Bytes MixedBytes(std::size_t n, unsigned seed);

struct RunResult {
  int ExitCode = -1;
  std::string Output;  // standard output and error together
};
RunResult RunCommand(const std::string& command);

// A fresh directory named after the running test, removed at the end.
class TestDirectory {
 public:
  TestDirectory();
  ~TestDirectory();
  const fs::path& Path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  // Every file below the directory, relative to it, sorted.
  std::vector<std::string> Files() const;

 private:
  fs::path path_;
};

// Writes a stub with the given block and the coded stream of `decoded` cut
// into volumes of `volumeSize` bytes (VolumeCount and sizes filled in unless
// the caller set them).
struct RawSet {
  ConfigTrailer Trailer;
  std::vector<FileEntry> Entries;
  Bytes Decoded;
  std::size_t VolumeSize = 1 << 20;
  bool KeepSizes = false;  // write Trailer's sizes as given

  void WriteTo(const fs::path& dir, const std::string& stubName = "SETUP.EXE") const;
};

}  // namespace tooltest
