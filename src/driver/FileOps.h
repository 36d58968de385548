// Guarded file operations shared by the stages: each raises EFileFailure at
// once when the platform reports a failure, which ends the run silently.
// The Try forms report instead, for the failures a stage handles itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

inline constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// CreateFileA with normal attributes; INVALID_HANDLE_VALUE on failure.
HANDLE TryOpenFile(const std::string& path, DWORD access, DWORD share, DWORD creation);

HANDLE OpenFileGuarded(const std::string& path, DWORD access, DWORD share, DWORD creation);

// The path names an existing file that is not a directory (FindFirstFileA).
bool IsExistingFile(const std::string& path);

// The current position has reached the size.
bool AtEndGuarded(HANDLE file);

// Up to `count` bytes; the count read.
DWORD ReadGuarded(HANDLE file, std::uint8_t* buffer, DWORD count);

// All `count` bytes must go out; fewer is a failure.
void WriteAllGuarded(HANDLE file, const std::uint8_t* buffer, DWORD count);

// Moves to `offset` from the start of the file.
void SeekGuarded(HANDLE file, std::int32_t offset);

void CloseGuarded(HANDLE file);

// Owns an open file that a failure may unwind past: the handle is closed
// then too. The normal path hands it to CloseGuarded with release().
struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using OwnedFile = std::unique_ptr<void, FileCloser>;
