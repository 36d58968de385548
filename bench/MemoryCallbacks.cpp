#include "MemoryCallbacks.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/State.h"

namespace bench {
namespace {

struct Reader {
  std::span<const std::uint8_t> coded;
  std::size_t taken = 0;  // bytes of `coded` moved into the buffer so far
  std::uint8_t buffer[CallbackBufferSize];
  std::size_t position = 0;
  std::size_t filled = 0;

  void Refill() {
    filled = std::min(CallbackBufferSize, coded.size() - taken);
    std::memcpy(buffer, coded.data() + taken, filled);
    taken += filled;
    position = 0;
  }
};

struct Writer {
  std::span<std::uint8_t> output;
  std::size_t written = 0;  // bytes handed on to `output`
  std::uint8_t buffer[CallbackBufferSize];
  std::size_t filled = 0;

  void Flush() {
    if (filled > output.size() - written) throw std::length_error("decoder output overflows");
    std::memcpy(output.data() + written, buffer, filled);
    written += filled;
    filled = 0;
  }
};

Reader reader;
Writer writer;

}  // namespace

void StartMemoryCallbacks(std::span<const std::uint8_t> coded, std::span<std::uint8_t> output) {
  reader.coded = coded;
  reader.taken = 0;
  reader.position = reader.filled = 0;
  writer.output = output;
  writer.written = 0;
  writer.filled = 0;
}

std::size_t FinishMemoryCallbacks() {
  writer.Flush();
  return writer.written;
}

// Like the installer's reader it serves nothing once the stage is cancelled.
// Both callbacks copy through locals: the byte pointers may alias anything,
// and reloading the state after every store would measure only that.
void ReadFromMemory(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  std::uint16_t served = 0;
  if (StageActive) {
    while (served < count) {
      if (reader.position == reader.filled) reader.Refill();
      if (reader.filled == 0) break;
      buffer[served++] = reader.buffer[reader.position++];
    }
  }
  delivered = served;
}

void WriteToMemory(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  if (count == 0) writer.Flush();
  for (std::uint16_t i = 0; i < count; ++i) {
    if (writer.filled == CallbackBufferSize) writer.Flush();
    const std::uint8_t byte = buffer[i];
    writer.buffer[writer.filled++] = byte;
  }
  accepted = count;
}

}  // namespace bench
