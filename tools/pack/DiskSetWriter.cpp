#include "DiskSetWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "DiskImages.h"
#include "config/VerificationRecord.h"
#include "PendingFile.h"
#include "SetChecksums.h"
#include "SetOutputs.h"
#include "TemporaryRegistry.h"
#include "volumes/VolumeRules.h"

namespace fs = std::filesystem;

namespace {

using PendingFiles = std::vector<std::unique_ptr<PendingFile>>;

bool Exists(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The coded stream, cut into volumes as the encoder hands it out; the
// files' and the volumes' CRCs are taken on the way.
PendingFiles CodeVolumes(const PackOptions& options, const SetPlan& plan, const std::vector<InputFile>& files,
                         CodedStream& coded, SetChecksums& sums, const PackProgressFn& progress) {
  PendingFiles volumes;
  const auto put = [&](int disk, std::span<const std::uint8_t> piece) {
    if (static_cast<int>(volumes.size()) < disk) volumes.push_back(std::make_unique<PendingFile>(options.OutputDir));
    volumes.back()->Write(piece);
    sums.AddVolumeBytes(disk, piece);
  };
  coded = CodeStream(options, plan, files, put, [&](std::size_t i, auto bytes) { sums.AddFileBytes(i, bytes); },
                     progress);
  if (volumes.empty()) volumes.push_back(std::make_unique<PendingFile>(options.OutputDir));  // volume 1, empty
  return volumes;
}

// The stub, the verification record (unless left out), the file table and
// the trailer.
std::unique_ptr<PendingFile> WriteSetupFile(const PackOptions& options, const SetPlan& plan, SetChecksums& sums) {
  auto setup = std::make_unique<PendingFile>(options.OutputDir);
  StreamFile(options.Stub, plan.StubSize, [&](auto bytes) {
    setup->Write(bytes);
    sums.AddStubBytes(bytes);
  });
  std::vector<std::uint8_t> block;  // the file table and the trailer
  for (const FileEntry& e : plan.Entries) {
    const auto entry = EncodeFileEntry(e);
    block.insert(block.end(), entry.begin(), entry.end());
  }
  const auto trailer = EncodeTrailer(plan.Trailer);
  block.insert(block.end(), trailer.begin(), trailer.end());
  sums.AddBlockBytes(block);
  if (plan.Checksums) setup->Write(sums.Encoded(plan.Trailer.VolumeCount));
  setup->Write(block);
  return setup;
}

// Moves an old set's files aside and the new ones into place; on any
// failure, removes what was placed and puts the old files back.
class SetCommit {
 public:
  explicit SetCommit(const fs::path& dir) : dir_(dir) {}
  ~SetCommit() {
    if (done_) return;
    for (const fs::path& p : placed_) ::unlink(p.c_str());
    for (const auto& [aside, original] : aside_) ::rename(aside.c_str(), original.c_str());
  }
  SetCommit(const SetCommit&) = delete;
  SetCommit& operator=(const SetCommit&) = delete;

  // Moves a file aside: it goes once the commit completes.
  void Remove(const fs::path& target) {
    const fs::path aside = TemporaryNameIn(dir_);
    if (::rename(target.c_str(), aside.c_str()) != 0)
      throw PackError(target.string() + ": cannot be replaced: " + std::strerror(errno));
    aside_.emplace_back(aside, target);
  }

  void Place(PendingFile& file, const fs::path& target, bool replace) {
    if (replace && Exists(target)) Remove(target);
    try {
      if (file.Place(target, false) == PendingFile::Placed::Exists)
        throw PackError(target.string() + ": already exists (use --force to replace it)");
    } catch (const FileError& e) {
      throw PackError(e.what());
    }
    placed_.push_back(target);
  }

  // Keeps the new set; the old files moved aside go.
  void Complete() {
    done_ = true;
    for (const auto& entry : aside_) ::unlink(entry.first.c_str());
  }

 private:
  fs::path dir_;
  std::vector<fs::path> placed_;
  std::vector<std::pair<fs::path, fs::path>> aside_;  // (temporary name, original name)
  bool done_ = false;
};

// The set's files and sizes once its stream is coded: the setup file takes
// the record of the real volume count.
WrittenSet PlannedSet(const PackOptions& options, const SetPlan& plan, const CodedStream& coded) {
  WrittenSet set;
  set.VolumeLengths = coded.VolumeLengths;
  set.CodedSize = coded.CodedSize;
  set.FileDisks = coded.FileDisks;
  set.DecodedSize = plan.Trailer.UnpackedSize;
  set.Paths = DiskSetPaths(options, set.VolumeLengths.size());
  set.Images = DiskImagePaths(options, set.VolumeLengths.size());
  const std::size_t files = plan.Entries.size();
  const std::size_t record = plan.Checksums ? VerificationRecordSize(set.VolumeLengths.size(), files) : 0;
  set.SetupSize = plan.StubSize + static_cast<std::int64_t>(record + files * FileEntrySize + ConfigTrailerSize);
  return set;
}

}  // namespace

std::vector<fs::path> DiskSetPaths(const PackOptions& options, std::size_t volumeCount) {
  std::vector<fs::path> paths = {options.OutputDir / options.Name};
  for (std::size_t disk = 1; disk <= volumeCount; ++disk)
    paths.push_back(options.OutputDir / VolumeFileName(options.Name, static_cast<int>(disk)).c_str());
  return paths;
}

WrittenSet DryRunDiskSet(const PackOptions& options, const SetPlan& plan, const std::vector<InputFile>& files,
                         const PackProgressFn& progress) {
  const CodedStream coded = CodeStream(options, plan, files, [](int, std::span<const std::uint8_t>) {}, {}, progress);
  WrittenSet set = PlannedSet(options, plan, coded);
  set.DryRun = true;
  return set;
}

WrittenSet WriteDiskSet(const PackOptions& options, SetPlan plan, const std::vector<InputFile>& files,
                        const PackProgressFn& progress) {
  std::error_code error;
  fs::create_directories(options.OutputDir, error);
  if (error) throw PackError(options.OutputDir.string() + ": cannot create: " + error.message());
  try {
    SetChecksums sums(files.size(), options.CodePageNumber);
    CodedStream coded;
    PendingFiles outputs = CodeVolumes(options, plan, files, coded, sums, progress);
    plan.Trailer.VolumeCount = static_cast<std::uint8_t>(coded.VolumeLengths.size());
    plan.Trailer.SplitSize = static_cast<std::int32_t>(coded.CodedSize);
    outputs.insert(outputs.begin(), WriteSetupFile(options, plan, sums));
    WrittenSet written = PlannedSet(options, plan, coded);
    written.SetupSize = outputs.front()->Size();  // what PlannedSet foretells, as the dry-run tests hold it to
    if (options.Images) {
      SetParts parts;
      for (std::size_t i = 0; i < outputs.size(); ++i) {
        parts.Files.push_back(outputs[i].get());
        parts.Names.push_back(written.Paths[i].filename().string());
      }
      for (auto& image : MakeDiskImages(options, parts)) outputs.push_back(std::move(image));
    }
    std::vector<fs::path> targets = written.Paths;
    targets.insert(targets.end(), written.Images.begin(), written.Images.end());
    CheckOutputsReplaceable(options, targets);
    if (options.Force) written.Removed = StaleSetFiles(options, targets);

    const temporaries::SignalsHeld held;  // the commit runs to its end or rolls back whole
    SetCommit commit(options.OutputDir);
    for (const fs::path& stale : written.Removed) commit.Remove(stale);
    for (std::size_t i = 0; i < outputs.size(); ++i) commit.Place(*outputs[i], targets[i], options.Force);
    commit.Complete();
    return written;
  } catch (const FileError& e) {
    throw PackError(e.what());
  }
}
