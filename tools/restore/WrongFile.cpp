#include "WrongFile.h"

#include <algorithm>
#include <string_view>

#include "config/FileNames.h"
#include "volumes/VolumeRules.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

// Where the MZ and PE headers say the program's last section ends; 0 when
// they do not parse within `head`.
std::int64_t ProgramEnd(std::span<const std::uint8_t> head) {
  if (head.size() < 64 || head[0] != 'M' || head[1] != 'Z') return 0;
  const std::size_t pe = Get32(head, 0x3C);
  if (pe > head.size() - 24 || Get32(head, pe) != 0x00004550) return 0;
  const std::size_t sections = Get16(head, pe + 6), table = pe + 24 + Get16(head, pe + 20);
  if (sections == 0 || table + sections * 40 > head.size()) return 0;
  std::int64_t end = 0;
  for (std::size_t i = 0; i < sections; ++i)
    end = std::max<std::int64_t>(end, std::int64_t{Get32(head, table + i * 40 + 20)} + Get32(head, table + i * 40 + 16));
  return end;
}

bool Mentions(std::span<const std::uint8_t> bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

}  // namespace

std::optional<std::string> BareProgram(const std::string& name, std::span<const std::uint8_t> head,
                                       std::int64_t fileSize) {
  const std::int64_t end = ProgramEnd(head);
  if (end == 0 || end < fileSize) return std::nullopt;
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
