// Helpers for the LZH tests: streams crafted symbol by symbol, and LzhDecode
// run through the installer's callback interface over byte vectors.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "base/State.h"
#include "lzh/SymbolWriter.h"
#include "lzh/lzh.h"

namespace lzhtest {

using Bytes = std::vector<std::uint8_t>;

struct StreamBuilder {
  Bytes bytes;
  lzh::SymbolWriter writer{bytes};
  StreamBuilder& Literal(std::uint8_t b) { writer.PutLiteral(b); return *this; }
  StreamBuilder& Literals(const Bytes& text) { for (std::uint8_t b : text) Literal(b); return *this; }
  StreamBuilder& Copy(int length, int distance) { writer.PutMatch(length, distance); return *this; }
  Bytes Finish() { writer.Finish(); return bytes; }
};

// Coded input and decoded output for LzhDecode's callbacks, with hooks
// called inside the n-th read or write (from 1).
struct CallbackHarness {
  explicit CallbackHarness(Bytes coded) : input(std::move(coded)) {}
  Bytes input, output;
  std::size_t inputPos = 0;
  int reads = 0, writes = 0;
  std::function<void(int)> onRead, onWrite;
  static inline CallbackHarness* current = nullptr;

  // Serves bytes as the installer's reader does: nothing once StageActive is clear.
  static void Read(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    CallbackHarness& h = *current;
    ++h.reads;
    delivered = 0;
    if (!StageActive) return;
    if (h.inputPos < h.input.size()) buffer[0] = h.input[h.inputPos++], delivered = count;
    if (h.onRead) h.onRead(h.reads);
  }
  static void Write(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
    CallbackHarness& h = *current;
    ++h.writes;
    h.output.insert(h.output.end(), buffer, buffer + count);
    accepted = count;
    if (h.onWrite) h.onWrite(h.writes);
  }
  void Decode(std::int32_t size, std::int32_t active = 1) {
    current = this;
    StageActive = active;
    LzhDecode(size, &Read, &Write, &StageActive);
    current = nullptr;
  }
};

inline Bytes DecodeBytes(const Bytes& coded, std::int32_t size) {
  CallbackHarness h(coded);
  h.Decode(size);
  return h.output;
}

// Text-like input: words, long runs and stray bytes give matches of many
// lengths and distances.
inline Bytes Wordy(std::size_t n, unsigned seed) {
  static const char* const words[] = {"alpha ", "beta ", "gamma\n", "aaaaaaaaaaaaaaaaaaaa", "ab", "x", "delta-epsilon "};
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    const char* w = words[rng() % 7];
    b.insert(b.end(), w, w + std::strlen(w));
    if (rng() % 5 == 0) b.push_back(static_cast<std::uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

}  // namespace lzhtest
