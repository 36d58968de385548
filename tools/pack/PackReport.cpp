#include "PackReport.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "CommandLine.h"

namespace {

std::string Row(const std::filesystem::path& path, std::int64_t size, const std::string& note = "") {
  char line[512];
  std::snprintf(line, sizeof line, "%-40s %10lld bytes%s\n", path.string().c_str(), static_cast<long long>(size),
                note.c_str());
  return line;
}

}  // namespace

std::string PackReportText(const PackSummary& s) {
  std::string out;
  if (s.Options.Output.Verbose)
    for (const InputFile& f : s.Files) out += Row(f.Source, f.Size, "  as " + f.Name);
  out += Row(s.Set.Paths[0], s.Set.SetupSize);
  for (std::size_t i = 0; i < s.Set.VolumeLengths.size(); ++i) out += Row(s.Set.Paths[i + 1], s.Set.VolumeLengths[i]);
  const auto& images = s.Set.Images;
  for (std::size_t i = 0; i < images.size(); ++i)
    out += Row(images[i], s.Options.Format->ImageBytes(), ", disk " + std::to_string(i + 1));
  for (const auto& removed : s.Set.Removed) out += "removed " + removed.string() + ", left from an earlier set\n";
  out += Counted(static_cast<std::int64_t>(s.Files.size()), "file") + ", " + Counted(s.Set.DecodedSize, "byte") +
         " coded into " + Counted(s.Set.CodedSize, "byte") + " on " +
         Counted(static_cast<std::int64_t>(s.Set.VolumeLengths.size()), "disk");
  if (s.Options.Format) out += " of " + std::string(s.Options.Format->Name);
  return out + "\n";
}

std::string PackReportJson(const PackSummary& s) {
  using Json = nlohmann::ordered_json;
  Json files = Json::array();
  for (const InputFile& f : s.Files) files.push_back({{"source", f.Source.string()}, {"name", f.Name}, {"size", f.Size}});
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
  };
  return doc.dump(2) + "\n";
}
