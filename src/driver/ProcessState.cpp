#include "driver/ProcessState.h"

std::string SourceDir;
std::string ProgramName;
std::string DestDir;
std::int32_t ScreenWidth = 0;
std::int32_t ScreenHeight = 0;
std::unique_ptr<std::uint8_t[]> InBuffer;
std::unique_ptr<std::uint8_t[]> OutBuffer;
ReadChunkFn DecoderRead = nullptr;
WriteChunkFn DecoderWrite = nullptr;
std::uint8_t Aborted = 0;

void AllocateBuffers() {
  InBuffer = std::make_unique<std::uint8_t[]>(ChunkBufferSize);
  OutBuffer = std::make_unique<std::uint8_t[]>(ChunkBufferSize);
}

void ReleaseBuffers() {
  InBuffer.reset();
  OutBuffer.reset();
}
