#include "lzh/StreamFiles.h"

#include "driver/MessagePump.h"
#include "lzh/ByteStreams.h"
#include "ui/ProgressGauge.h"

HANDLE StreamInputFile = INVALID_HANDLE_VALUE;
HANDLE StreamOutputFile = INVALID_HANDLE_VALUE;

namespace {

// A failed read counts as the end of the input: the decoder reads zero bits.
std::uint32_t ReadInputFile(std::uint8_t* buffer, std::uint32_t count) {
  DWORD read = 0;
  if (!ReadFile(StreamInputFile, buffer, count, &read, nullptr)) return 0;
  return read;
}

std::uint32_t WriteOutputFile(const std::uint8_t* buffer, std::uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(StreamOutputFile, buffer, count, &written, nullptr)) return 0;
  return written;
}

std::uint32_t TickCount() { return GetTickCount(); }

}  // namespace

void BindStreamsToWin32() {
  BindStreamPorts({ReadInputFile, WriteOutputFile, DrainMessageQueue, TickCount, GaugeDraw});
}
