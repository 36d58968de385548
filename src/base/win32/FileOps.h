// The stub's file operations. The guarded forms record a failure naming the
// file and the platform's reason (base/Failure.h) when the platform reports
// one and then return false;
// the Try forms only report, for the failures a stage handles itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "base/Path.h"

inline constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// An open file and the path it was opened by. It closes itself, without
// recording anything, if it is still open when it goes out of scope: that
// is the way out after a failure. The normal way out is CloseGuarded.
struct GuardedFile {
  HANDLE Handle = INVALID_HANDLE_VALUE;
  Path Name;

  GuardedFile() = default;
  GuardedFile(const GuardedFile&) = delete;
  GuardedFile& operator=(const GuardedFile&) = delete;
  ~GuardedFile() { CloseQuietly(); }

  bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
  void CloseQuietly();
};

// CreateFileA with normal attributes; INVALID_HANDLE_VALUE on failure.
HANDLE TryOpenFile(const char* path, DWORD access, DWORD share, DWORD creation);

// Takes an opened handle (or a failed one, which records the failure).
bool AdoptGuarded(GuardedFile& file, HANDLE handle, std::string_view path);
bool OpenGuarded(GuardedFile& file, std::string_view path, DWORD access, DWORD share,
                 DWORD creation);

// Up to `count` bytes; `read` tells how many.
bool ReadGuarded(GuardedFile& file, std::uint8_t* buffer, DWORD count, DWORD& read);
// Exactly `count` bytes; fewer is a failure.
bool ReadExactlyGuarded(GuardedFile& file, std::uint8_t* buffer, DWORD count);
// All `count` bytes must go out; fewer is a failure.
bool WriteAllGuarded(GuardedFile& file, const std::uint8_t* buffer, DWORD count);
// Moves to `offset` from the start of the file.
bool SeekGuarded(GuardedFile& file, std::int64_t offset);
bool SizeGuarded(GuardedFile& file, std::int64_t& size);
// Ends the file at `size` bytes, where the next write will go.
bool TruncateGuarded(GuardedFile& file, std::int64_t size);
// The current position has reached the size.
bool AtEndGuarded(GuardedFile& file, bool& atEnd);
bool CloseGuarded(GuardedFile& file);

// What a search for the path finds: its attributes, or
// INVALID_FILE_ATTRIBUTES when it finds nothing (FindFirstFileA, which also
// answers for names that GetFileAttributesA cannot see, such as wildcards).
DWORD FoundAttributes(const char* path);
bool IsExistingFile(const char* path);       // found, and not a directory
bool IsExistingDirectory(const char* path);  // found, and a directory
