// The installer's decoder interface: one call decodes the coded stream
// pulled through `read` into exactly `outputSize` bytes pushed through
// `write`, reading the flag `mayGoOn` afresh before every symbol (the
// stage passes StageActive, which a Cancel clears from inside a read).
//
//   read(buffer, 1, delivered): the decoder asks for one byte at a time; any
//     delivered count but 1 stands for the byte 0x00.
//   write(buffer, 1, accepted): one byte per call, in order; `accepted` is
//     not looked at and the final flush is the caller's.
#pragma once

#include <cstdint>

#include "base/State.h"

inline constexpr const char* LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* LzhFreeFailedMessage =
    "LZH : Error freeing memory for dictionary tables";

// False, with a failure of the run recorded under LzhNoMemoryMessage, when
// the working storage cannot be obtained; nothing is read or written then.
// The storage is released on every path. Releasing cannot fail, so
// LzhFreeFailedMessage is never recorded.
bool LzhDecode(std::int32_t outputSize, ReadChunkFn read, WriteChunkFn write,
               const std::int32_t* mayGoOn);
