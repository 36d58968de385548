// Our encoder's streams, wrapped as -lh1- members, must come out of the
// independent lhasa decoder byte for byte: that pins the tree evolution,
// the rebuilds and the position code to the published coding.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "LhaArchive.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RunLhasaPrint(const Bytes& archive) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("diskspan-lhasa-" + std::to_string(::getpid()) + ".lzh");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  const std::string command = "lhasa pq " + path.string() + " 2>/dev/null";
  Bytes out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.insert(out.end(), buffer, buffer + n);
    ::pclose(pipe);
  }
  std::filesystem::remove(path);
  return out;
}

void ExpectLhasaAgrees(const Bytes& data) {
  const Bytes archive = LhaLevel0Archive("DATA.BIN", data, lzh::Encode(data));
  const Bytes decoded = RunLhasaPrint(archive);
  ASSERT_EQ(decoded.size(), data.size());
  EXPECT_TRUE(decoded == data);
}

class LhasaCrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v lhasa >/dev/null 2>&1") != 0) GTEST_SKIP() << "lhasa is not installed";
  }
};

TEST_F(LhasaCrossCheck, SmallInputs) {
  ExpectLhasaAgrees({'x'});
  ExpectLhasaAgrees(Bytes(5000, 'A'));
  const std::string text = "The quick brown fox jumps over the lazy dog.   Indented    text.\r\n";
  Bytes repeated;
  for (int i = 0; i < 200; ++i) repeated.insert(repeated.end(), text.begin(), text.end());
  ExpectLhasaAgrees(repeated);
}

TEST_F(LhasaCrossCheck, LargeMixedInputAcrossManyRebuilds) {
  std::mt19937 rng(99);
  Bytes data;
  while (data.size() < (1u << 20)) {
    const std::uint32_t kind = rng() % 3;
    for (int i = 0; i < 400; ++i) {
      if (kind == 0) data.push_back(static_cast<std::uint8_t>(rng()));
      else if (kind == 1) data.push_back(static_cast<std::uint8_t>("etaoin shrdlu"[rng() % 13]));
      else data.push_back(static_cast<std::uint8_t>(i % 37));
    }
  }
  ExpectLhasaAgrees(data);
}

}  // namespace
}  // namespace lzhtest
