#include "WrongFile.h"

#include <algorithm>
#include <string_view>

#include "config/FileNames.h"
#include "volumes/VolumeRules.h"
#include "WindowsProgram.h"

namespace fs = std::filesystem;

namespace {

bool Mentions(std::span<const std::uint8_t> bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

}  // namespace

std::optional<std::string> BareProgram(const std::string& name, std::span<const std::uint8_t> head,
                                       std::int64_t fileSize) {
  std::int64_t end = 0;
  if (NotAWindowsProgram(head, fileSize, end) || end < fileSize) return std::nullopt;
  // The stub names its temporaries; a whole stub fits the head read.
  const bool stub = Mentions(head, "Split.Spt");
  return name + " is " + (stub ? "an installer program" : "a Windows program") +
         " with no set appended: name a set's SETUP.EXE (it has SETUP.01 beside it)";
}

int VolumeNumberOf(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot < 3 || name.size() - dot > 5) return 0;
  const std::string digits = name.substr(dot + 2);
  if (name[dot + 1] != '0' || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int disk = std::stoi(digits);
  return disk >= 1 && disk <= 255 && SameFileName(VolumeExtension(disk).c_str(), name.substr(dot)) ? disk : 0;
}

std::string NotAnInstaller(const fs::path& file) {
  const std::string name = file.filename().string();
  const int disk = VolumeNumberOf(name);
  if (disk == 0) return file.string() + " is not a disk set installer (no configuration block at its end)";
  // The installer beside it: the .EXE whose volumes take this name.
  std::string installer = name.substr(0, name.rfind('.')) + ".EXE";
  std::error_code error;
  const fs::path dir = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  for (fs::directory_iterator entry(dir, error), end; !error && entry != end; entry.increment(error)) {
    const std::string other = entry->path().filename().string();
    if (other.size() > 4 && SameFileName(other.substr(other.size() - 4), ".EXE") &&
        SameFileName(VolumeFileName(other, disk).c_str(), name))
      installer = other;
  }
  return file.string() + " is volume " + std::to_string(disk) + " of a set: name its installer (" + installer + ")";
}
