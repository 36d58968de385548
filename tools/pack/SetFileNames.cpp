#include "SetFileNames.h"

#include <cctype>

#include "CodePage.h"
#include "volumes/VolumeRules.h"

namespace {

// The number of 1 to 3 decimal digits, when it is a disk number (1-255).
std::optional<int> DiskNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != digits.npos) return {};
  const int number = std::stoi(std::string(digits));
  if (number < 1 || number > 255) return {};
  return number;
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// DISK01.IMG ... DISK99.IMG, and DISK001.IMG ... DISK255.IMG for sets of 100 disks or more.
std::optional<int> ImageDisk(std::string_view name) {
  if (name.size() < 10 || !SameAscii(name.substr(0, 4), "DISK") || !SameAscii(name.substr(name.size() - 4), ".IMG"))
    return {};
  const std::string_view digits = name.substr(4, name.size() - 8);
  return digits.size() >= 2 ? DiskNumber(digits) : std::nullopt;
}

// The disk a volume name ends in (".01", ".02" ... ".0255"), checked against
// the setup name it must be made of.
std::optional<int> VolumeDisk(std::string_view name, std::string_view setupName) {
  const std::size_t dot = name.rfind('.');
  if (dot == name.npos || name.size() - dot < 3 || name[dot + 1] != '0') return {};
  const auto disk = DiskNumber(name.substr(dot + 2));
  if (!disk || !SameNameIgnoringCase(name, VolumeFileName(setupName, *disk).c_str())) return {};
  return disk;
}

}  // namespace

std::optional<SetFileName> ClassifySetFileName(std::string_view fileName, std::string_view setupName) {
  if (SameNameIgnoringCase(fileName, setupName)) return SetFileName{SetFileName::Setup};
  if (const auto disk = VolumeDisk(fileName, setupName)) return SetFileName{SetFileName::Volume, *disk};
  if (const auto disk = ImageDisk(fileName)) return SetFileName{SetFileName::Image, *disk};
  return std::nullopt;
}

std::string Described(const SetFileName& name) {
  switch (name.Kind) {
    case SetFileName::Setup: return "the setup file";
    case SetFileName::Volume: return "volume " + std::to_string(name.Disk);
    case SetFileName::Image: return "disk image " + std::to_string(name.Disk);
  }
  return "";
}
