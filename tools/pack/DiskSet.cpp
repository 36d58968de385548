#include "DiskSet.h"

#include <algorithm>
#include <string>

#include "config/ConfigBlock.h"
#include "config/FileNames.h"
#include "config/VerificationRecord.h"

static_assert(MaxVolumes <= MaxVerifiedVolumes && MaxFiles <= MaxVerifiedFiles);

namespace {

// `stored` is the value in the set's code page, whose bytes fill the field.
void CheckLength(const char* option, const std::string& value, const std::string& stored, std::size_t fieldWidth) {
  if (stored.size() > fieldWidth - 1)
    throw UsageError(std::string(option) + " '" + value + "' takes " + std::to_string(stored.size()) +
                     " bytes; at most " + std::to_string(fieldWidth - 1) + " fit");
}

void CheckColour(const char* option, int index) {
  if (index < 0 || index > 15)
    throw UsageError(std::string(option) + " " + std::to_string(index) +
                    " is not a palette index 0-15");
}

// The packed file --launch names: its name in the set, with / or \ between
// folders, exactly or else ignoring case.
std::uint8_t LaunchIndexFor(const PackOptions& options, const std::vector<InputFile>& files) {
  if (!options.Launch) return 0;
  std::string wanted = *options.Launch;
  std::replace(wanted.begin(), wanted.end(), '/', '\\');
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i].Name == wanted) return static_cast<std::uint8_t>(i + 1);
  for (std::size_t i = 0; i < files.size(); ++i)
    if (SameNameIgnoringCase(files[i].Name, wanted)) return static_cast<std::uint8_t>(i + 1);
  throw UsageError("--launch '" + *options.Launch + "' names none of the files to pack");
}

// A text option in the set's code page, or UsageError naming the option.
std::string Stored(const char* option, const std::string& value, const CodePage& codePage) {
  const auto stored = codePage.FromUtf8(value);
  if (!stored)
    throw UsageError(std::string(option) + " '" + value + "' cannot be written in " + codePage.Name() +
                    " (choose another --codepage)");
  return *stored;
}

ConfigTrailer TrailerFor(const PackOptions& options, const CodePage& codePage) {
  ConfigTrailer t;
  t.Title = Stored("--title", options.Title, codePage);
  t.TitleFont = Stored("--font", options.Font, codePage);
  t.GradientTopIndex = static_cast<std::uint8_t>(options.TopColour);
  t.GradientBottomIndex = static_cast<std::uint8_t>(options.BottomColour);
  t.TitleColourIndex = static_cast<std::uint8_t>(options.TitleColour);
  t.TitleSize = static_cast<std::uint8_t>(options.TitleSize);
  t.TitleStyle = static_cast<std::uint8_t>(options.TitleStyle);
  t.DefaultDestDir = Stored("--default-dir", options.DefaultDir, codePage);
  return t;
}

}  // namespace

void CheckOptions(const PackOptions& options, const CodePage& codePage) {
  const NameProblem nameProblem = FileNameProblem(options.Name);
  if (nameProblem != NameProblem::None)
    throw UsageError("--name '" + options.Name + "' " + NameProblemText(nameProblem));
  if (options.Name.size() < 4 || !SameNameIgnoringCase(options.Name.substr(options.Name.size() - 4), ".EXE"))
    throw UsageError("--name '" + options.Name + "' does not end in .EXE: Windows would not run it");
  CheckLength("--title", options.Title, Stored("--title", options.Title, codePage), TitleFieldWidth);
  CheckLength("--font", options.Font, Stored("--font", options.Font, codePage), TitleFontFieldWidth);
  CheckLength("--default-dir", options.DefaultDir, Stored("--default-dir", options.DefaultDir, codePage),
              DefaultDestDirFieldWidth);
  CheckColour("--top-colour", options.TopColour);
  CheckColour("--bottom-colour", options.BottomColour);
  CheckColour("--title-colour", options.TitleColour);
  // The stub keeps TitleSize x 6 in one byte: above 42 the height wraps.
  if (options.TitleSize < 1 || options.TitleSize > 42)
    throw UsageError("--title-size " + std::to_string(options.TitleSize) + " is outside 1-42");
  if (options.TitleStyle < 0 || options.TitleStyle > 15)
    throw UsageError("--title-style " + std::to_string(options.TitleStyle) + " is outside 0-15");
  if (options.VolumeSize <= 0) throw UsageError("--volume-size must be a positive byte count");
  if (options.Images && !options.Format)
    throw UsageError("--images needs a floppy format for --volume-size (" + std::to_string(options.VolumeSize) +
                    " is a plain byte count)");
  if (options.Inputs.empty() && options.FileLists.empty())
    throw UsageError("FILE is required (or --files-from LIST): no files to pack");
}

std::int64_t FirstVolumeCapacity(const PackOptions& options, std::int64_t setupSize) {
  // On a floppy format every file takes whole clusters; the free bytes are
  // whole clusters too, so what is left for volume 1 is.
  if (options.Format) return options.Format->FreeBytes - options.Format->OnDisk(setupSize);
  return options.VolumeSize - setupSize;
}

SetPlan PlanDiskSet(const PackOptions& options, const CodePage& codePage, std::int64_t stubSize,
                    const std::vector<InputFile>& files) {
  CheckOptions(options, codePage);
  std::int64_t total = 0;
  for (const auto& f : files) total += f.Size;
  SetPlan plan;
  plan.Trailer = TrailerFor(options, codePage);
  plan.Trailer.FileCount = static_cast<std::uint8_t>(files.size());
  plan.Trailer.LaunchIndex = LaunchIndexFor(options, files);
  plan.Trailer.UnpackedSize = static_cast<std::int32_t>(total);
  std::int32_t offset = 0;
  for (const auto& f : files) {
    const auto size = static_cast<std::int32_t>(f.Size);
    plan.Entries.push_back({std::string_view(f.StoredName), static_cast<std::int32_t>(f.DosDate), offset, size});
    offset += size;
  }
  plan.StubSize = stubSize;
  plan.Checksums = options.Checksums;
  const std::size_t record = options.Checksums ? VerificationRecordSize(MaxVolumes, files.size()) : 0;
  plan.SetupSize = stubSize + static_cast<std::int64_t>(record + files.size() * FileEntrySize + ConfigTrailerSize);
  plan.FirstCapacity = FirstVolumeCapacity(options, plan.SetupSize);
  if (plan.FirstCapacity <= 0)
    throw PackError(options.Stub.string() + ": the setup file would be " + std::to_string(plan.SetupSize) +
                    " bytes, leaving no room for volume 1 on a disk of " + std::to_string(options.VolumeSize) +
                    " bytes");
  return plan;
}

VolumeCutter::VolumeCutter(std::int64_t firstCapacity, std::int64_t volumeSize, Put put)
    : firstCapacity_(firstCapacity), volumeSize_(volumeSize), put_(std::move(put)) {}

std::int64_t VolumeCutter::CapacityOf(std::size_t volumeIndex) const {
  return volumeIndex == 0 ? firstCapacity_ : volumeSize_;
}

void VolumeCutter::Take(std::span<const std::uint8_t> bytes) {
  if (total_ + static_cast<std::int64_t>(bytes.size()) > MaxSetBytes)
    throw PackError("the coded stream exceeds " + std::to_string(MaxSetBytes) + " bytes, the most a disk set holds");
  while (!bytes.empty()) {
    if (lengths_.back() == CapacityOf(lengths_.size() - 1)) {
      if (static_cast<int>(lengths_.size()) == MaxVolumes)
        throw PackError("the coded stream needs more than " + std::to_string(MaxVolumes) + " volumes of " +
                        std::to_string(volumeSize_) + " bytes; a disk set holds at most " +
                        std::to_string(MaxVolumes) + " (use a larger --volume-size)");
      lengths_.push_back(0);
    }
    const std::int64_t room = CapacityOf(lengths_.size() - 1) - lengths_.back();
    const auto piece = bytes.first(static_cast<std::size_t>(std::min<std::int64_t>(room, bytes.size())));
    put_(static_cast<int>(lengths_.size()), piece);
    lengths_.back() += static_cast<std::int64_t>(piece.size());
    total_ += static_cast<std::int64_t>(piece.size());
    bytes = bytes.subspan(piece.size());
  }
}
