#include "ExtractRun.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "QuietProcess.h"
#include "Stopwatch.h"
#include "config/ConfigBlock.h"
#include "volumes/VolumeRules.h"

namespace bench {
namespace {

constexpr std::size_t VolumeSize = 1457664;

void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

DiskSetFiles::DiskSetFiles(const std::vector<std::uint8_t>& decoded, const std::vector<std::uint8_t>& coded)
    : dir_(std::filesystem::temp_directory_path() / ("diskspan-bench-set-" + std::to_string(::getpid()))) {
  std::filesystem::create_directories(dir_);
  int volumes = 0;
  for (std::size_t at = 0; at < coded.size(); at += VolumeSize) {
    ++volumes;
    WriteFile(dir_ / VolumeFileName("SETUP.EXE", volumes).c_str(), coded.data() + at, std::min(VolumeSize, coded.size() - at));
  }
  ConfigTrailer trailer;
  trailer.FileCount = 1;
  trailer.VolumeCount = static_cast<std::uint8_t>(volumes);
  trailer.SplitSize = static_cast<std::int32_t>(coded.size());
  trailer.UnpackedSize = static_cast<std::int32_t>(decoded.size());
  std::vector<std::uint8_t> stub(1024, 0);
  const auto entry = EncodeFileEntry({"CORPUS.BIN", 0, 0, trailer.UnpackedSize});
  const auto tail = EncodeTrailer(trailer);
  stub.insert(stub.end(), entry.begin(), entry.end());
  stub.insert(stub.end(), tail.begin(), tail.end());
  WriteFile(Stub(), stub.data(), stub.size());
}

DiskSetFiles::~DiskSetFiles() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

double TimeExtractTest(const std::filesystem::path& stub, int runs) {
  return BestSeconds(runs, [&] { RunQuietly({DISKSPAN_EXTRACT, "--test", "-q", stub.string()}); });
}

}  // namespace bench
