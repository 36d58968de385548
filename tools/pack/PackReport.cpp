#include "PackReport.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "CommandLine.h"
#include "config/DosDateTime.h"

namespace {

std::string Row(const std::filesystem::path& path, std::int64_t size, const std::string& note = "") {
  char line[512];
  std::snprintf(line, sizeof line, "%-40s %10lld bytes%s\n", path.string().c_str(), static_cast<long long>(size),
                note.c_str());
  return line;
}

std::string DisksShown(const DiskRange& d) {
  if (d.First == 0) return "no disk (empty)";
  if (d.First == d.Last) return "disk " + std::to_string(d.First);
  return "disks " + std::to_string(d.First) + "-" + std::to_string(d.Last);
}

// "1", "2-3" as the extractor lists them; nothing for an empty file.
nlohmann::ordered_json DisksJson(const DiskRange& d) {
  if (d.First == 0) return nullptr;
  if (d.First == d.Last) return std::to_string(d.First);
  return std::to_string(d.First) + "-" + std::to_string(d.Last);
}

std::string DateShown(std::uint32_t dosDate) {
  const DosDateTime d = SplitDosDateTime(dosDate);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.Year, d.Month, d.Day, d.Hour, d.Minute, d.Second);
  return text;
}

}  // namespace

std::string InputNotes(const OutputChoices& output, const GatheredInputs& inputs) {
  std::string out;
  if (output.Verbose)
    for (const auto& folder : inputs.EmptyFolders)
      out += "diskspan-pack: " + folder.string() + ": holds no files; left out, as a set keeps no empty folders\n";
  std::int64_t clamped = 0;
  for (const InputFile& f : inputs.Files) {
    if (f.ClampedFrom.empty()) continue;
    ++clamped;
    if (!output.Quiet)
      out += "diskspan-pack: warning: " + f.Source.string() + ": dated " + f.ClampedFrom +
             ", outside the years a set can hold (1980-2107): stored as " + DateShown(f.DosDate) + "\n";
  }
  if (output.Quiet && clamped > 0)
    out += "diskspan-pack: warning: " + Counted(clamped, "file") +
           " dated outside 1980-2107, stored with the nearest date a set can hold\n";
  return out;
}

std::string PackReportText(const PackSummary& s) {
  std::string out;
  if (s.Set.DryRun)
    out += "Dry run: the files were coded in memory, as a pack codes them, to learn the coded size; "
           "nothing was written.\n";
  if (s.Options.Output.Verbose || s.Set.DryRun)
    for (std::size_t i = 0; i < s.Files.size(); ++i)
      out += Row(s.Files[i].Source, s.Files[i].Size, "  as " + s.Files[i].Name + ", " + DisksShown(s.Set.FileDisks[i]));
  out += Row(s.Set.Paths[0], s.Set.SetupSize);
  for (std::size_t i = 0; i < s.Set.VolumeLengths.size(); ++i) out += Row(s.Set.Paths[i + 1], s.Set.VolumeLengths[i]);
  const auto& images = s.Set.Images;
  for (std::size_t i = 0; i < images.size(); ++i)
    out += Row(images[i], s.Options.Format->ImageBytes(), ", disk " + std::to_string(i + 1));
  for (const auto& removed : s.Set.Removed) out += "removed " + removed.string() + ", left from an earlier set\n";
  out += Counted(static_cast<std::int64_t>(s.Files.size()), "file") + ", " + Counted(s.Set.DecodedSize, "byte") +
         (s.Set.DryRun ? " would be coded into " : " coded into ") + Counted(s.Set.CodedSize, "byte") + " on " +
         Counted(static_cast<std::int64_t>(s.Set.VolumeLengths.size()), "disk");
  if (s.Options.Format) out += " of " + std::string(s.Options.Format->Name);
  return out + "\n";
}

std::string PackReportJson(const PackSummary& s) {
  using Json = nlohmann::ordered_json;
  Json files = Json::array();
  for (std::size_t i = 0; i < s.Files.size(); ++i) {
    const InputFile& f = s.Files[i];
    files.push_back(
        {{"source", f.Source.string()}, {"name", f.Name}, {"size", f.Size}, {"disks", DisksJson(s.Set.FileDisks[i])}});
  }
  Json volumes = Json::array();
  for (std::size_t i = 0; i < s.Set.VolumeLengths.size(); ++i)
    volumes.push_back({{"path", s.Set.Paths[i + 1].string()}, {"size", s.Set.VolumeLengths[i]}});
  Json images = Json::array();
  for (const auto& image : s.Set.Images) images.push_back({{"path", image.string()}, {"size", s.Options.Format->ImageBytes()}});
  Json removed = Json::array();
  for (const auto& r : s.Set.Removed) removed.push_back(r.string());
  const Json doc = {
      {"setup", {{"path", s.Set.Paths[0].string()}, {"size", s.Set.SetupSize}}},
      {"volumes", volumes},
      {"images", images},
      {"files", files},
      {"decodedSize", s.Set.DecodedSize},
      {"codedSize", s.Set.CodedSize},
      {"disks", s.Set.VolumeLengths.size()},
      {"format", s.Options.Format ? Json(std::string(s.Options.Format->Name)) : Json(nullptr)},
      {"codePage", s.Options.CodePageNumber},
      {"removed", removed},
      {"dryRun", s.Set.DryRun},
  };
  return doc.dump(2) + "\n";
}
