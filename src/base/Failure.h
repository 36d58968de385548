// How the stub fails: the one model every part of it follows.
//
// A failure is an operation that did not succeed where the run cannot go on:
// a guarded file operation (base/win32/FileOps.h), the program's own path,
// memory for the decoder or the file table. Cancel is no failure, and
// neither is what a stage handles itself (a directory that cannot be made,
// Compress.Spt that cannot be opened, an installed file that cannot be
// created): the Try forms of the file operations report those without
// recording anything.
//
// A failure travels as state, never as a C++ exception. Fail() records the
// first one in RunFailure, naming what failed and the path concerned, and
// clears StageActive, so the stage loops, the decoder and its byte streams
// stop at their next test exactly as they do for Cancel. The function that
// met it returns false (or an invalid handle) and its callers return at once.
//
// It ends in the driver, which asks Failed() after every step: the run then
// ends with one message box captioned with the title that says what failed
// and where (FailureText), the temporary files deleted, without the later
// stages or the launch, and with exit code 1.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/Path.h"
#include "base/Text.h"

struct Failure {
  const char* What = nullptr;  // a fixed text, e.g. "Cannot read"
  Path Subject;                // the path it concerns, cut if need be; may be empty
  std::uint32_t Error = 0;     // the platform's error code, 0 when none applies
};

// Records the failure unless one is recorded already; clears StageActive.
// Returns false, so a caller can write `return Fail(...)`.
bool Fail(const char* what, std::string_view subject, std::uint32_t error = 0);

bool Failed();

// Forgets the recorded failure (a new run, or a test).
void ClearFailure();

// A set whose volumes do not add up to the stream its block describes.
inline constexpr const char* DamagedSetText =
    "The installation disks are damaged or do not belong together.";

// Platform error codes the messages name in words.
namespace PlatformError {
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t NotEnoughMemory = 8;
inline constexpr std::uint32_t OutOfMemory = 14;
inline constexpr std::uint32_t WriteProtect = 19;
inline constexpr std::uint32_t NotReady = 21;
inline constexpr std::uint32_t Crc = 23;
inline constexpr std::uint32_t SectorNotFound = 27;
inline constexpr std::uint32_t ReadFault = 30;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t HandleDiskFull = 39;
inline constexpr std::uint32_t DiskFull = 112;
inline constexpr std::uint32_t InvalidName = 123;
inline constexpr std::uint32_t AlreadyExists = 183;
}  // namespace PlatformError

using FailureMessage = FixedText<PathCapacity + 128>;

// "What Subject: reason." (the reason from Error, left out when it is 0),
// or What alone when there is no subject.
FailureMessage FailureText(const Failure& failure);

// The reason in words: "the disk is full", or "Windows error N".
FixedText<48> ErrorReason(std::uint32_t error);
