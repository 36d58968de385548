#include "InputFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>

#include "PackOptions.h"
#include "config/DosDateTime.h"

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error))
    throw PackError(path.string() + ": no such file");
  if (!std::filesystem::is_regular_file(path, error))
    throw PackError(path.string() + ": not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PackError(path.string() + ": cannot open: " + std::strerror(errno));
  std::vector<std::uint8_t> data;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) data.reserve(size);
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    data.insert(data.end(), buffer, buffer + in.gcount());
  if (in.bad()) throw PackError(path.string() + ": read failed");
  return data;
}

std::uint32_t DosDateOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw PackError(path.string() + ": cannot read its date: " + std::strerror(errno));
  std::tm local{};
  const std::time_t seconds = info.st_mtime;
  if (::localtime_r(&seconds, &local) == nullptr)
    throw PackError(path.string() + ": its date cannot be shown in local time");
  const DosDateTime when{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
  if (when.Year < 1980) return *PackDosDateTime({1980, 1, 1, 0, 0, 0});
  if (when.Year > 2107) return *PackDosDateTime({2107, 12, 31, 23, 59, 58});
  return *PackDosDateTime(when);
}

std::vector<InputFile> ReadInputFiles(const std::vector<std::filesystem::path>& paths) {
  std::vector<InputFile> files;
  files.reserve(paths.size());
  for (const auto& path : paths) {
    InputFile file;
    file.Source = path;
    file.Name = path.filename().string();
    file.Data = ReadWholeFile(path);
    file.DosDate = DosDateOf(path);
    files.push_back(std::move(file));
  }
  return files;
}
