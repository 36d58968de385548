// The decoder's file-backed byte streams: the coded stream is read in
// 2048-byte blocks into InBuffer and handed out byte by byte; decoded bytes
// collect in OutBuffer and leave in 2048-byte blocks, the gauge following
// each block. The files, the message queue, the clock and the drawing are
// reached through StreamPorts, which the stub binds to Win32 and the tests
// to memory.
#pragma once

#include <cstdint>

#include "lzh/lzh.h"

inline constexpr std::uint16_t StreamBlockSize = 2048;

struct StreamPorts {
  // Reads up to `count` coded bytes into `buffer`; the count read, 0 at the
  // end of the input or on a failed read.
  std::uint32_t (*ReadInput)(std::uint8_t* buffer, std::uint32_t count);
  // Writes `count` decoded bytes; the count the write reports, which is
  // below `count` when it failed or came back short.
  std::uint32_t (*WriteOutput)(const std::uint8_t* buffer, std::uint32_t count);
  // Takes every waiting message of the thread and dispatches it.
  void (*DrainQueue)();
  // Milliseconds since some start, wrapping at 2^32.
  std::uint32_t (*TickCount)();
  // Draws the gauge; sets LastPercent to `percent`.
  void (*DrawGauge)(std::int32_t fillEdge, std::int32_t percent);
};

void BindStreamPorts(const StreamPorts& ports);

// The stage's start of a decode: read position 1, fill count 0, write
// position 1, and the drain clock started now. The written total is kept.
void ResetStreams();

// Bytes that block writes have put out since the process started; the
// final flush is not counted.
extern std::int32_t WrittenTotal;

// The queue is drained after a byte only when 10 ms have passed since the
// last drain: an empty PeekMessageA per byte would dominate the decode.
bool PumpDue(std::uint32_t now, std::uint32_t lastDrain);

// A full block leaves OutBuffer only when a further byte arrives.
bool BlockDue(std::uint16_t writePosition, std::uint16_t count);

// The ReadChunkFn over InBuffer: nothing once StageActive is clear.
void StreamReadChunk(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& delivered);

// The WriteChunkFn over OutBuffer; a count of 0 flushes and leaves
// `accepted` untouched. A write that fails or comes back short clears
// StageActive, so truncated output is never installed.
void StreamWriteChunk(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& accepted);
