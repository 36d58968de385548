#include "volumes/VolumeNames.h"

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
  const std::size_t separator = name.find_last_of("\\:");
  const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot < nameStart) dot = name.size();
  std::string result(name.substr(0, dot));
  result += extension;
  return result;
}

std::string VolumeExtension(int disk) {
  return disk == 1 ? std::string(".01") : ".0" + std::to_string(disk);
}

std::string VolumeFileName(std::string_view stubName, int disk) {
  return ReplaceExtension(stubName, VolumeExtension(disk));
}

std::string DiskPromptText(int disk) {
  return "Please Insert Disk number " + std::to_string(disk);
}
