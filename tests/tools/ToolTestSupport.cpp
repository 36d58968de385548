#include "ToolTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <stdexcept>

#include "base/Crc32.h"
#include "config/VerificationRecord.h"
#include "lzh/LzhEncoder.h"
#include "volumes/VolumeRules.h"

namespace tooltest {

Bytes Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Spill(const fs::path& path, const Bytes& data) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

void Patch(const fs::path& path, const std::function<void(Bytes&)>& change) {
  Bytes bytes = Slurp(path);
  change(bytes);
  Spill(path, bytes);
}

Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

Bytes MixedBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng() % 5 == 0 ? rng() : 'a' + rng() % 6);
  return out;
}

RunResult RunCommand(const std::string& command) {
  RunResult result;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.Output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return result;
}

TestDirectory::TestDirectory() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = fs::temp_directory_path() /
          ("diskspan-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TestDirectory::~TestDirectory() { fs::remove_all(path_); }

std::vector<std::string> TestDirectory::Files() const {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(path_))
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), path_).string());
  std::sort(files.begin(), files.end());
  return files;
}

void RawSet::WriteTo(const fs::path& dir, const std::string& stubName) const {
  const Bytes stream = lzh::Encode(Decoded);
  ConfigTrailer t = Trailer;
  t.FileCount = static_cast<std::uint8_t>(Entries.size());
  std::vector<Bytes> volumes;
  for (std::size_t at = 0; at < stream.size() || volumes.empty(); at += VolumeSize)
    volumes.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                         stream.begin() + static_cast<std::ptrdiff_t>(std::min(stream.size(), at + VolumeSize)));
  if (!KeepSizes) {
    t.SplitSize = static_cast<std::int32_t>(stream.size());
    t.UnpackedSize = static_cast<std::int32_t>(Decoded.size());
    t.VolumeCount = static_cast<std::uint8_t>(volumes.size());
  }
  Bytes stub(1000, 'M');
  Bytes block;
  for (const auto& e : Entries) {
    const auto record = EncodeFileEntry(e);
    block.insert(block.end(), record.begin(), record.end());
  }
  const auto trailer = EncodeTrailer(t);
  block.insert(block.end(), trailer.begin(), trailer.end());
  if (RecordVersion != 0) {
    VerificationRecord r{RecordVersion, static_cast<std::uint32_t>(stub.size()), UpdateCrc32(0, stub.data(), stub.size()),
                         static_cast<std::uint16_t>(volumes.size()), static_cast<std::uint16_t>(Entries.size()),
                         UpdateCrc32(0, block.data(), block.size()), CodePage};
    for (std::size_t i = 0; i < volumes.size(); ++i) r.VolumeCrc[i] = UpdateCrc32(0, volumes[i].data(), volumes[i].size());
    for (std::size_t i = 0; i < Entries.size(); ++i)
      r.FileCrc[i] = UpdateCrc32(0, Decoded.data() + Entries[i].Offset, static_cast<std::size_t>(Entries[i].Size));
    Bytes bytes(VerificationRecordSize(r.VolumeCount, r.FileCount, RecordVersion));
    EncodeVerificationRecord(r, bytes);
    stub.insert(stub.end(), bytes.begin(), bytes.end());
  }
  stub.insert(stub.end(), block.begin(), block.end());
  fs::create_directories(dir);
  Spill(dir / stubName, stub);
  for (std::size_t i = 0; i < volumes.size(); ++i)
    Spill(dir / VolumeFileName(stubName, static_cast<int>(i + 1)).c_str(), volumes[i]);
}

std::string ToolTest::Put(const std::string& relative, const Bytes& data) const {
  fs::create_directories((dir / relative).parent_path());
  Spill(dir / relative, data);
  return (dir / relative).string();
}

std::string ToolTest::Stub() const {
  if (fs::exists(dir / "stub.exe")) return (dir / "stub.exe").string();
  // Written by the script tests' own stand-in.
  const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "scripts" / "fake_stub.py";
  const RunResult r = RunCommand("python3 '" + script.string() + "' 3000");
  if (r.ExitCode != 0 || r.Output.size() != 3000) throw std::runtime_error("fake_stub.py wrote no stub: " + r.Output.substr(0, 300));
  return Put("stub.exe", Bytes(r.Output.begin(), r.Output.end()));
}

void ToolTest::PackSet(const Files& files, const std::string& options, const std::string& name) {
  std::string args;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string source = Put("src/" + files[i].first, files[i].second);
    std::tm t{};  // 1999-12-31 23:59:(2i) local time
    t.tm_year = 99, t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59, t.tm_sec = static_cast<int>(2 * i);
    t.tm_isdst = -1;
    const utimbuf times{std::mktime(&t), std::mktime(&t)};
    ::utime(source.c_str(), &times);
    args += " " + source;
  }
  ASSERT_TRUE(Ends(Pack("-q --stub " + Stub() + " -o " + (dir / name).string() + " " + options + args), 0));
}

::testing::AssertionResult ToolTest::Ends(const RunResult& r, int exitCode, const std::vector<std::string>& texts) {
  bool ok = r.ExitCode == exitCode;
  for (const auto& text : texts) ok = ok && Has(r, text);
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "exit " << r.ExitCode << ", saying:\n" << r.Output;
}

}  // namespace tooltest
