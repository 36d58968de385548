// Helpers for the Win32 tests: scratch directories on Wine's C: drive.
#pragma once

#include <string>

// A new, empty directory under C:\ for one test, e.g. C:\dstest-1234-5.
std::string MakeScratchDir();

// Deletes a directory tree; failures are ignored.
void RemoveTree(const std::string& path);

void WriteFileBytes(const std::string& path, const std::string& bytes);
