// Process-wide state owned by the driver; it lives from start-up to the end
// of the process. The window handle lives with the Win32 layer (ui/).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "lzh/lzh.h"

// The decoder's chunk buffers: 2048-byte chunks with room to spare.
inline constexpr std::size_t ChunkBufferSize = 2064;

// The stub's own directory, ending in a backslash; the volumes are read here.
extern std::string SourceDir;
// The stub's own file name without its directory; the volumes are named after it.
extern std::string ProgramName;
// Where the files go: SourceDir until the destination dialog is confirmed,
// then exactly what the user entered.
extern std::string DestDir;
// The primary screen, read once at start-up.
extern std::int32_t ScreenWidth;
extern std::int32_t ScreenHeight;
extern std::unique_ptr<std::uint8_t[]> InBuffer;
extern std::unique_ptr<std::uint8_t[]> OutBuffer;
// The decoder callbacks recorded at start-up; the extraction stage hands
// exactly these to the decoder.
extern ReadChunkFn DecoderRead;
extern WriteChunkFn DecoderWrite;
// Set when a dialog could not be started or ended with a result other than 1.
extern std::uint8_t Aborted;

void AllocateBuffers();
void ReleaseBuffers();
