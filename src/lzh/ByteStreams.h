// The decoder's file-backed byte streams: the coded stream is read in
// 2048-byte blocks into InBuffer and handed out byte by byte; decoded bytes
// collect in OutBuffer and leave in 2048-byte blocks. The files, the message
// queue, the clock and the progress display are reached through
// StreamPorts, which the extraction stage binds to Win32 and the tests to
// memory.
#pragma once

#include <cstdint>

#include "base/State.h"

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
  // A block has left OutBuffer: WrittenTotal bytes are out. The stage shows
  // the progress (the gauge, when its percentage changed).
  void (*BlockWritten)(std::int32_t writtenTotal);
};

void BindStreamPorts(const StreamPorts& ports);

// The stage's start of a decode: read position 1, fill count 0, write
// position 1, nothing consumed, and the drain clock started now.
// WrittenTotal is kept.
void ResetStreams();

// The decoder may read up to two bytes past the last bit it uses.
inline constexpr std::int32_t DecoderLookAhead = 2;

// True when the decode took every byte of an input of `size` bytes and
// asked past its end no more often than the decoder's look-ahead: what a
// sound stream does. A stream cut short or belonging to another set does not.
bool InputConsumedExactly(std::int32_t size);

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
