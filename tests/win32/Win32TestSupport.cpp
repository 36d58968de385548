#include "Win32TestSupport.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

std::string MakeScratchDir() {
  static int made = 0;
  const std::string path = "C:\\dstest-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++made);
  RemoveTree(path);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
