// Times diskspan-extract --test on the corpus written as a disk set: the
// whole process, against the core decoder and lhasa in the same run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace bench {

// A set of 1.44 MB volumes for `decoded`, coded as `coded`, in a temporary
// directory removed on destruction.
class DiskSetFiles {
 public:
  DiskSetFiles(const std::vector<std::uint8_t>& decoded, const std::vector<std::uint8_t>& coded);
  ~DiskSetFiles();
  DiskSetFiles(const DiskSetFiles&) = delete;
  DiskSetFiles& operator=(const DiskSetFiles&) = delete;

  std::filesystem::path Stub() const { return dir_ / "SETUP.EXE"; }

 private:
  std::filesystem::path dir_;
};

// Best of `runs` wall-clock seconds for `diskspan-extract --test -q STUB`.
double TimeExtractTest(const std::filesystem::path& stub, int runs);

}  // namespace bench
