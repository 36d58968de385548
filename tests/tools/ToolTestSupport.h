// Shared by the tool tests: temporary directories, files, running a tool,
// and writing raw disk sets with any block we like.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "config/ConfigBlock.h"

namespace tooltest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Slurp(const fs::path& path);
void Spill(const fs::path& path, const Bytes& data);
// Reads `path`, lets `change` edit its bytes and writes them back.
void Patch(const fs::path& path, const std::function<void(Bytes&)>& change);
Bytes RandomBytes(std::size_t n, unsigned seed);
Bytes MixedBytes(std::size_t n, unsigned seed);  // text-like, compresses a little

struct RunResult {
  int ExitCode = -1;
  std::string Output;  // standard output and error together
  bool operator==(const RunResult&) const = default;
  friend void PrintTo(const RunResult& r, std::ostream* os) { *os << "exit " << r.ExitCode << ": " << r.Output; }
};
RunResult RunCommand(const std::string& command);

// A fresh directory named after the running test, removed at the end.
class TestDirectory {
 public:
  TestDirectory();
  ~TestDirectory();
  const fs::path& Path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  std::vector<std::string> Files() const;  // every file below, relative, sorted

 private:
  fs::path path_;
};

// Writes a stub with the given block and the coded stream of `decoded` cut
// into volumes of `volumeSize` bytes (VolumeCount and sizes filled in unless
// KeepSizes), and a verification record of `RecordVersion` (none for 0)
// that fits them and names `CodePage`.
struct RawSet {
  ConfigTrailer Trailer{};
  std::vector<FileEntry> Entries{};
  Bytes Decoded{};
  std::size_t VolumeSize = 1 << 20;
  bool KeepSizes = false;
  std::uint16_t RecordVersion = 0;
  std::uint32_t CodePage = 0;

  void WriteTo(const fs::path& dir, const std::string& stubName = "SETUP.EXE") const;
};

// A test directory with both tools at hand.
class ToolTest : public ::testing::Test {
 public:
  using Files = std::vector<std::pair<std::string, Bytes>>;  // name, contents

 protected:
  ToolTest() : pack_(DISKSPAN_PACK), extract_(DISKSPAN_EXTRACT) {}
  // Packs `files` into dir/NAME behind a 3000-byte stub; file i is dated
  // 1999-12-31 23:59:(2i) local time.
  void PackSet(const Files& files, const std::string& options, const std::string& name = "set");
  // Writes dir/RELATIVE, folders and all, and gives its path.
  std::string Put(const std::string& relative, const Bytes& data) const;
  // dir/stub.exe, written on first use: a stand-in installer stub of 3000
  // bytes, the MZ and PE headers of a PE32 program with one section.
  std::string Stub() const;
  std::string Setup(const std::string& name = "set") const { return (dir / name / "SETUP.EXE").string(); }
  RunResult Pack(const std::string& args) const { return RunCommand(pack_ + " " + args); }
  RunResult Extract(const std::string& args) const { return RunCommand(extract_ + " " + args); }
  RunResult ExtractTo(const std::string& args) const { return Extract("-d " + (dir / "out").string() + " " + args); }
  static bool Has(const RunResult& r, const std::string& text) { return r.Output.find(text) != std::string::npos; }
  // Whether `r` ended with `exitCode` and its output holds every one of `texts`.
  static ::testing::AssertionResult Ends(const RunResult& r, int exitCode, const std::vector<std::string>& texts = {});
  bool OutIsEmpty() const { return !fs::exists(dir / "out") || fs::is_empty(dir / "out"); }

  TestDirectory dir;

 private:
  std::string pack_, extract_;
};

}  // namespace tooltest
