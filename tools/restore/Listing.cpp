#include "Listing.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iomanip>
#include <sstream>

#include "EntryNames.h"
#include "config/DosDateTime.h"
#include "volumes/VolumeRules.h"

std::string FormatDosDate(std::uint32_t dosDate) {
  const DosDateTime d = SplitDosDateTime(dosDate);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.Year, d.Month, d.Day, d.Hour, d.Minute,
                d.Second);
  return text;
}

namespace {

std::string ChecksumsShown(const SetInfo& set) {
  if (!set.RecordDamage.empty()) return "DAMAGED: " + set.RecordDamage;
  if (set.UnknownRecordVersion != 0)
    return "of a later kind (version " + std::to_string(set.UnknownRecordVersion) + "), not read";
  if (!set.Record) return "none (made without them)";
  if (set.Record->Version >= 2) return "CRC-32 of the installer, its file table, every volume and every file";
  return "CRC-32 of the installer, every volume and every file";
}

std::string CodePageShown(const SetInfo& set) {
  const std::string number = std::to_string(set.Texts.Number());
  switch (set.TextsFrom) {
    case CodePageOrigin::Record: return number + " (as the set names it)";
    case CodePageOrigin::Option: return number + " (as --codepage names it)";
    case CodePageOrigin::Default: break;
  }
  return number + " (the set names none: the default)";
}

std::string VolumesShown(const SetInfo& set) {
  const std::string first = VolumeFileName(set.VolumeBase, 1).c_str();
  if (set.VolumeCount() == 1) return "1 (" + first + ")";
  return std::to_string(set.VolumeCount()) + " (" + first + " to " +
         VolumeFileName(set.VolumeBase, set.VolumeCount()).c_str() + ")";
}

// An empty file needs no disk: "-" (null in JSON), as the packer reports it.
std::string DisksShown(const DiskMap* disks, const FileEntry& e) {
  if (e.Size == 0) return "-";
  return disks ? disks->DisksOf(e) : "?";
}

nlohmann::ordered_json DisksJson(const DiskMap* disks, const FileEntry& e) {
  if (e.Size == 0) return nullptr;
  return DisksShown(disks, e);
}

}  // namespace

std::string ListingText(const SetInfo& set, const DiskMap* disks) {
  const ConfigTrailer& t = set.Trailer;
  const std::string launch = set.LaunchName();
  std::ostringstream out;
  out << "Title:             " << set.Texts.Shown(t.Title) << "\n"
      << "Default directory: " << set.Texts.Shown(t.DefaultDestDir) << "\n"
      << "Volumes:           " << VolumesShown(set) << ", " << t.SplitSize << " bytes\n"
      << "Decoded size:      " << t.UnpackedSize << " bytes\n"
      << "Starts after:      " << (launch.empty() ? "(nothing)" : ShownPath(launch, set.Texts)) << "\n"
      << "Code page:         " << CodePageShown(set) << "\n"
      << "Checksums:         " << ChecksumsShown(set) << "\n\n"
      << std::setw(12) << "Size" << "  " << std::left << std::setw(19) << "Date" << "  " << std::setw(7) << "Disks"
      << std::right << "Name\n";
  std::int64_t total = 0;
  for (const FileEntry& e : set.Entries) {
    out << std::setw(12) << e.Size << "  " << FormatDosDate(static_cast<std::uint32_t>(e.Date)) << "  " << std::left
        << std::setw(7) << DisksShown(disks, e) << std::right << ShownPath(e.Name, set.Texts) << "\n";
    total += e.Size;
  }
  out << std::setw(12) << total << "  " << set.Entries.size() << (set.Entries.size() == 1 ? " file\n" : " files\n");
  return out.str();
}

std::string ListingJson(const SetInfo& set, const DiskMap* disks) {
  const ConfigTrailer& t = set.Trailer;
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  std::int64_t total = 0;
  for (const FileEntry& e : set.Entries) {
    files.push_back({{"name", ShownPath(e.Name, set.Texts)},
                     {"size", e.Size},
                     {"offset", e.Offset},
                     {"date", FormatDosDate(static_cast<std::uint32_t>(e.Date))},
                     {"disks", DisksJson(disks, e)}});
    total += e.Size;
  }
  const std::string launch = set.LaunchName();
  const nlohmann::ordered_json doc = {
      {"title", set.Texts.Shown(t.Title)},
      {"font", set.Texts.Shown(t.TitleFont)},
      {"defaultDirectory", set.Texts.Shown(t.DefaultDestDir)},
      {"volumeCount", set.VolumeCount()},
      {"codedSize", t.SplitSize},
      {"decodedSize", t.UnpackedSize},
      {"launch", launch.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(ShownPath(launch, set.Texts))},
      {"codePage", set.Texts.Number()},
      {"checksums", set.Record.has_value()},
      {"files", files},
      {"totalSize", total},
  };
  return doc.dump(2) + "\n";
}
