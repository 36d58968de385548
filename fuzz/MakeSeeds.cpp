// Writes the decoder's seed corpus: coded streams of varied sizes and kinds,
// each behind the size header of LzhFuzzInput.h. Every seed is decoded back
// before it is written, so a seed always decodes to what it was made from.
//
//   fuzz_make_seeds OUTPUT_DIR PINNED_STREAMS_DIR
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "LzhFuzzInput.h"
#include "lzh/LzhDecoder.h"
#include "lzh/LzhEncoder.h"
#include "lzh/SymbolWriter.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// mt19937's sequence is fixed by the standard, so the seeds are the same
// wherever they are made.
std::mt19937 generator(20240601);

unsigned Below(unsigned bound) { return static_cast<unsigned>(generator() % bound); }

// About `count` bytes of words from a small vocabulary: matches at every
// distance, mostly short.
Bytes Words(std::size_t count) {
  static const char* const vocabulary[] = {"disk", "set", "volume", "install", "the", "file",
                                           "copy", "a", "stream", "of", "bytes", "and"};
  std::string text;
  while (text.size() < count) {
    text += vocabulary[Below(std::size(vocabulary))];
    text += Below(9) == 0 ? ".\r\n" : " ";
  }
  return Bytes(text.begin(), text.end());
}

// Every byte value as a literal, then random bytes, which code as literals.
Bytes AllBytes(std::size_t randomCount) {
  Bytes bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
  for (std::size_t i = 0; i < randomCount; ++i) bytes.push_back(static_cast<std::uint8_t>(generator()));
  return bytes;
}

// Random bytes, then copies of earlier bytes of every length from 3 to 60,
// from near and from far back, so that short and long position codes occur.
Bytes FarMatches() {
  Bytes bytes = AllBytes(1024);
  for (int round = 0; round < 3; ++round) {
    for (int length = 3; length <= 60; ++length) {
      const auto reach = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 4096));
      const unsigned distance = 1 + Below(round % 2 ? reach : 64);
      const std::size_t from = bytes.size() - distance;
      for (int k = 0; k < length; ++k) bytes.push_back(bytes[from + k]);
      bytes.push_back(static_cast<std::uint8_t>(generator()));
    }
  }
  return bytes;
}

// A run of one byte, then a run of a two-byte pattern: the longest matches,
// overlapping their own output.
Bytes Runs() {
  Bytes bytes(300, 'x');
  for (int i = 0; i < 200; ++i) bytes.push_back(i % 2 ? 0x00 : 0xFF);
  return bytes;
}

// Literals only, one byte far more often than the rest, so that a short
// stream carries enough symbols for the tree to rebuild itself.
struct LiteralStream {
  Bytes Decoded;
  Bytes Coded;
};

LiteralStream SkewedLiterals(std::size_t count) {
  LiteralStream s;
  lzh::SymbolWriter writer(s.Coded);
  for (std::size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<std::uint8_t>(Below(64) == 0 ? 'a' + Below(26) : 'e');
    writer.PutLiteral(byte);
    s.Decoded.push_back(byte);
  }
  writer.Finish();
  return s;
}

Bytes Decode(std::span<const std::uint8_t> stream, std::size_t size) {
  Bytes out;
  std::size_t at = 0;
  auto source = [&] { return at < stream.size() ? stream[at++] : std::uint8_t{0}; };
  auto sink = [&](std::uint8_t byte) { out.push_back(byte); };
  auto active = [] { return true; };
  lzh::DecoderTables tables;
  lzh::DecodeWith(tables, static_cast<std::int32_t>(size), source, sink, active);
  return out;
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Writes header and stream; false when the stream does not decode to `decoded`.
bool WriteSeed(const fs::path& path, const Bytes& stream, const Bytes& decoded) {
  if (decoded.size() > static_cast<std::size_t>(lzhfuzz::LargestOutput)) return false;
  const auto size = static_cast<std::int32_t>(decoded.size());
  if (Decode(stream, decoded.size()) != decoded) return false;
  const auto header = lzhfuzz::HeaderFor(size, stream.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header.data()), header.size());
  out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
  return static_cast<bool>(out);
}

bool WriteEncoded(const fs::path& path, const Bytes& decoded) {
  return WriteSeed(path, lzh::Encode(decoded), decoded);
}

// A pinned stream with the size it is known to decode to; its decoded bytes
// are taken from the decoder, which the tests hold to the pinned digests.
bool WritePinned(const fs::path& path, const fs::path& stream, std::size_t size) {
  const Bytes coded = ReadFile(stream);
  return !coded.empty() && WriteSeed(path, coded, Decode(coded, size));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR PINNED_STREAMS_DIR\n", argv[0]);
    return 2;
  }
  const fs::path out = argv[1];
  const fs::path pinned = argv[2];
  fs::create_directories(out);
  const LiteralStream literals = SkewedLiterals(34000);
  const bool ok = WriteEncoded(out / "short-text", Words(40)) &&
                  WriteEncoded(out / "words", Words(3000)) &&
                  WriteEncoded(out / "all-bytes", AllBytes(700)) &&
                  WriteEncoded(out / "far-matches", FarMatches()) &&
                  WriteEncoded(out / "runs", Runs()) &&
                  WriteSeed(out / "literal-rebuild", literals.Coded, literals.Decoded) &&
                  WritePinned(out / "pinned-text", pinned / "text.lzh", 399) &&
                  WritePinned(out / "pinned-runs", pinned / "runs.lzh", 13265);
  if (!ok) std::fprintf(stderr, "a seed did not decode to what it was made from\n");
  return ok ? 0 : 1;
}
