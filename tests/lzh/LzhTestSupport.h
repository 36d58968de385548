// Helpers for decoder tests: crafting streams symbol by symbol and running
// the installer's callback interface over byte vectors.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "lzh/SymbolWriter.h"
#include "base/State.h"
#include "lzh/lzh.h"

namespace lzhtest {

using Bytes = std::vector<std::uint8_t>;

// Builds a stream from literals and matches.
class StreamBuilder {
 public:
  StreamBuilder() : writer_(bytes_) {}
  StreamBuilder& Literal(std::uint8_t b) { writer_.PutLiteral(b); return *this; }
  StreamBuilder& Literals(const Bytes& text) {
    for (std::uint8_t b : text) writer_.PutLiteral(b);
    return *this;
  }
  StreamBuilder& Copy(int length, int distance) { writer_.PutMatch(length, distance); return *this; }
  Bytes Finish() { writer_.Finish(); return bytes_; }

 private:
  Bytes bytes_;
  lzh::SymbolWriter writer_;
};

// A coded input and decoded output for LzhDecode's function-pointer
// callbacks, with hooks that run inside a read or a write.
struct CallbackHarness {
  Bytes input;
  std::size_t inputPos = 0;
  Bytes output;
  int reads = 0;
  int writes = 0;
  std::function<void(int)> onRead;   // called with the read's number, from 1
  std::function<void(int)> onWrite;  // called with the write's number, from 1

  static inline CallbackHarness* current = nullptr;

  // Serves bytes as the installer's reader does: nothing once StageActive is clear.
  static void Read(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
    CallbackHarness& h = *current;
    ++h.reads;
    delivered = 0;
    if (!StageActive) return;
    if (h.inputPos < h.input.size()) {
      buffer[0] = h.input[h.inputPos++];
      delivered = count;
    }
    if (h.onRead) h.onRead(h.reads);
  }

  static void Write(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
    CallbackHarness& h = *current;
    ++h.writes;
    h.output.insert(h.output.end(), buffer, buffer + count);
    accepted = count;
    if (h.onWrite) h.onWrite(h.writes);
  }

  void Decode(std::int32_t size) {
    current = this;
    StageActive = 1;
    LzhDecode(size, &Read, &Write, &StageActive);
    current = nullptr;
  }
};

inline Bytes DecodeBytes(const Bytes& coded, std::int32_t size) {
  CallbackHarness h;
  h.input = coded;
  h.Decode(size);
  return h.output;
}

}  // namespace lzhtest
