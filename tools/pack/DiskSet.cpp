#include "DiskSet.h"

#include <algorithm>
#include <string>

#include "config/ConfigBlock.h"
#include "lzh/LzhEncoder.h"

namespace {

void CheckLength(const char* option, const std::string& value, std::size_t fieldWidth) {
  if (value.size() > fieldWidth - 1)
    throw PackError(std::string(option) + " '" + value + "' is " + std::to_string(value.size()) +
                    " characters long; at most " + std::to_string(fieldWidth - 1) + " fit");
}

void CheckColour(const char* option, int index) {
  if (index < 0 || index > 15)
    throw PackError(std::string(option) + " " + std::to_string(index) +
                    " is not a palette index 0-15");
}

std::uint8_t LaunchIndexFor(const PackOptions& options, const std::vector<InputFile>& files) {
  if (!options.Launch) return 0;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i].Name == *options.Launch) return static_cast<std::uint8_t>(i + 1);
  for (std::size_t i = 0; i < files.size(); ++i)
    if (SameFileName(files[i].Name, *options.Launch)) return static_cast<std::uint8_t>(i + 1);
  throw PackError("--launch '" + *options.Launch + "' names none of the files to pack");
}

std::vector<std::uint8_t> Concatenate(const std::vector<InputFile>& files) {
  std::int64_t total = 0;
  for (const auto& f : files) total += static_cast<std::int64_t>(f.Data.size());
  if (total > MaxSetBytes)
    throw PackError("the files add up to " + std::to_string(total) + " bytes; a disk set holds at most " +
                    std::to_string(MaxSetBytes));
  std::vector<std::uint8_t> all;
  all.reserve(static_cast<std::size_t>(total));
  for (const auto& f : files) all.insert(all.end(), f.Data.begin(), f.Data.end());
  return all;
}

ConfigTrailer TrailerFor(const PackOptions& options) {
  ConfigTrailer t;
  t.Title = options.Title;
  t.TitleFont = options.Font;
  t.GradientTopIndex = static_cast<std::uint8_t>(options.TopColour);
  t.GradientBottomIndex = static_cast<std::uint8_t>(options.BottomColour);
  t.TitleColourIndex = static_cast<std::uint8_t>(options.TitleColour);
  t.TitleSize = static_cast<std::uint8_t>(options.TitleSize);
  t.TitleStyle = static_cast<std::uint8_t>(options.TitleStyle);
  t.DefaultDestDir = options.DefaultDir;
  return t;
}

}  // namespace

void CheckOptions(const PackOptions& options) {
  if (!IsPlainFileName(options.Name))
    throw PackError("--name '" + options.Name + "' is not a plain file name");
  CheckLength("--title", options.Title, TitleFieldWidth);
  CheckLength("--font", options.Font, TitleFontFieldWidth);
  CheckLength("--default-dir", options.DefaultDir, DefaultDestDirFieldWidth);
  CheckColour("--top-colour", options.TopColour);
  CheckColour("--bottom-colour", options.BottomColour);
  CheckColour("--title-colour", options.TitleColour);
  // The stub keeps TitleSize x 6 in one byte: above 42 the height wraps.
  if (options.TitleSize < 1 || options.TitleSize > 42)
    throw PackError("--title-size " + std::to_string(options.TitleSize) + " is outside 1-42");
  if (options.TitleStyle < 0 || options.TitleStyle > 15)
    throw PackError("--title-style " + std::to_string(options.TitleStyle) + " is outside 0-15");
  if (options.VolumeSize <= 0) throw PackError("--volume-size must be a positive byte count");
  if (options.Images && !options.Format)
    throw PackError("--images needs a floppy format for --volume-size (" + std::to_string(options.VolumeSize) +
                    " is a plain byte count)");
  if (options.Inputs.empty()) throw PackError("no files to pack");
  if (options.Inputs.size() > MaxFiles)
    throw PackError(std::to_string(options.Inputs.size()) + " files given; a disk set holds at most " +
                    std::to_string(MaxFiles));
}

void CheckInputNames(const std::vector<InputFile>& files) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    const InputFile& f = files[i];
    if (!IsPlainFileName(f.Name))
      throw PackError(f.Source.string() + ": '" + f.Name + "' is not a plain file name");
    if (f.Name.size() > NameFieldWidth - 1)
      throw PackError(f.Source.string() + ": the name '" + f.Name + "' is longer than " +
                      std::to_string(NameFieldWidth - 1) + " characters");
    for (std::size_t j = 0; j < i; ++j)
      if (SameFileName(files[j].Name, f.Name))
        throw PackError(files[j].Source.string() + " and " + f.Source.string() +
                        " would both install as '" + f.Name + "'");
  }
}

std::int64_t FirstVolumeCapacity(const PackOptions& options, std::int64_t setupSize) {
  // On a floppy format every file takes whole clusters; the free bytes are
  // whole clusters too, so what is left for volume 1 is.
  if (options.Format) return options.Format->FreeBytes - options.Format->OnDisk(setupSize);
  return options.VolumeSize - setupSize;
}

std::vector<std::size_t> CutIntoVolumes(std::size_t streamLength, std::int64_t firstCapacity,
                                        std::int64_t volumeSize) {
  const auto first = std::min<std::int64_t>(firstCapacity, static_cast<std::int64_t>(streamLength));
  std::vector<std::size_t> lengths = {static_cast<std::size_t>(first)};
  for (std::size_t left = streamLength - lengths[0]; left > 0;) {
    const auto next = std::min<std::int64_t>(volumeSize, static_cast<std::int64_t>(left));
    lengths.push_back(static_cast<std::size_t>(next));
    left -= static_cast<std::size_t>(next);
  }
  return lengths;
}

DiskSet MakeDiskSet(const PackOptions& options, std::span<const std::uint8_t> stub,
                    const std::vector<InputFile>& files) {
  CheckOptions(options);
  CheckInputNames(files);
  DiskSet set;
  set.Trailer = TrailerFor(options);
  set.Trailer.FileCount = static_cast<std::uint8_t>(files.size());
  set.Trailer.LaunchIndex = LaunchIndexFor(options, files);

  const std::vector<std::uint8_t> all = Concatenate(files);
  std::int32_t offset = 0;
  for (const auto& f : files) {
    const auto size = static_cast<std::int32_t>(f.Data.size());
    set.Entries.push_back({std::string_view(f.Name), static_cast<std::int32_t>(f.DosDate), offset, size});
    offset += size;
  }
  set.Stream = lzh::Encode(all);
  if (static_cast<std::int64_t>(set.Stream.size()) > MaxSetBytes)
    throw PackError("the coded stream is " + std::to_string(set.Stream.size()) +
                    " bytes; a disk set holds at most " + std::to_string(MaxSetBytes));
  set.Trailer.UnpackedSize = static_cast<std::int32_t>(all.size());
  set.Trailer.SplitSize = static_cast<std::int32_t>(set.Stream.size());

  const auto setupSize = static_cast<std::int64_t>(stub.size() + files.size() * FileEntrySize +
                                                   ConfigTrailerSize);
  const std::int64_t firstCapacity = FirstVolumeCapacity(options, setupSize);
  if (firstCapacity <= 0)
    throw PackError(options.Stub.string() + ": the setup file would be " + std::to_string(setupSize) +
                    " bytes, leaving no room for volume 1 on a disk of " +
                    std::to_string(options.VolumeSize) + " bytes");
  set.VolumeLengths = CutIntoVolumes(set.Stream.size(), firstCapacity, options.VolumeSize);
  if (set.VolumeLengths.size() > MaxVolumes)
    throw PackError("the coded stream needs " + std::to_string(set.VolumeLengths.size()) +
                    " volumes of " + std::to_string(options.VolumeSize) +
                    " bytes; a disk set holds at most " + std::to_string(MaxVolumes) +
                    " (use a larger --volume-size)");
  set.Trailer.VolumeCount = static_cast<std::uint8_t>(set.VolumeLengths.size());

  set.SetupFile.assign(stub.begin(), stub.end());
  for (const auto& e : set.Entries) {
    const auto record = EncodeFileEntry(e);
    set.SetupFile.insert(set.SetupFile.end(), record.begin(), record.end());
  }
  const auto trailer = EncodeTrailer(set.Trailer);
  set.SetupFile.insert(set.SetupFile.end(), trailer.begin(), trailer.end());
  return set;
}
