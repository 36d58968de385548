#include "lzh/ByteStreams.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t PumpIntervalMs = 10;

StreamPorts Ports{};
std::uint16_t ReadPosition = 1;  // 1-based, next byte to hand out
std::int32_t FillCount = 0;
std::uint16_t WritePosition = 1;  // 1-based, next free byte
std::uint32_t LastDrain = 0;
std::int64_t Delivered = 0;  // bytes handed to the decoder
std::int32_t Overruns = 0;   // reads that met the end of the input

// Writes the buffered bytes; gives the count the write reports.
std::uint32_t WriteOut() {
  const std::uint32_t count = WritePosition - 1u;
  const std::uint32_t written = Ports.WriteOutput(OutBuffer, count);
  if (written != count) StageActive = 0;
  return written;
}

void PumpIfDue() {
  if (!PumpDue(Ports.TickCount(), LastDrain)) return;
  Ports.DrainQueue();
  LastDrain = Ports.TickCount();
}

}  // namespace

void BindStreamPorts(const StreamPorts& ports) { Ports = ports; }

void ResetStreams() {
  ReadPosition = 1;
  FillCount = 0;
  WritePosition = 1;
  LastDrain = Ports.TickCount();
  Delivered = 0;
  Overruns = 0;
}

bool InputConsumedExactly(std::int32_t size) {
  return Delivered == size && Overruns <= DecoderLookAhead;
}

bool PumpDue(std::uint32_t now, std::uint32_t lastDrain) {
  return now - lastDrain >= PumpIntervalMs;  // unsigned: wraps with the clock
}

bool BlockDue(std::uint16_t writePosition, std::uint16_t count) {
  return writePosition > BlockSize || writePosition + count > BlockSize + 1;
}

void StreamReadChunk(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered) {
  delivered = 0;
  if (!StageActive) return;
  if (ReadPosition > FillCount) {
    FillCount = static_cast<std::int32_t>(Ports.ReadInput(InBuffer, BlockSize));
    if (FillCount == 0) {
      ++Overruns;
      return;
    }
    ReadPosition = 1;
  }
  // The decoder asks for one byte; a larger request gets what the block holds.
  const std::uint16_t available = static_cast<std::uint16_t>(FillCount - ReadPosition + 1);
  const std::uint16_t taken = std::min(count, available);
  std::memcpy(buffer, InBuffer + ReadPosition - 1, taken);
  ReadPosition = static_cast<std::uint16_t>(ReadPosition + taken);
  Delivered += taken;
  delivered = taken;
  PumpIfDue();
}

void StreamWriteChunk(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted) {
  if (!StageActive) {
    accepted = 0;
    return;
  }
  if (count == 0) {
    WriteOut();  // the flush is not counted and not drawn
    return;
  }
  // Never asked for by the decoder: more than a block is taken in pieces.
  if (count > BlockSize) {
    std::uint16_t part = 0;
    StreamWriteChunk(buffer, BlockSize, part);
    StreamWriteChunk(buffer + BlockSize, static_cast<std::uint16_t>(count - BlockSize), accepted);
    accepted = static_cast<std::uint16_t>(accepted + part);
    return;
  }
  if (BlockDue(WritePosition, count)) {
    WrittenTotal += static_cast<std::int32_t>(WriteOut());
    WritePosition = 1;
    Ports.BlockWritten(WrittenTotal);
  }
  std::memcpy(OutBuffer + WritePosition - 1, buffer, count);
  WritePosition = static_cast<std::uint16_t>(WritePosition + count);
  accepted = count;
}
