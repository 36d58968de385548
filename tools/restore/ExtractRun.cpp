#include "ExtractRun.h"

#include <unistd.h>

#include <iostream>

#include "DiskSpool.h"
#include "EntryNames.h"
#include "ExtractError.h"
#include "Extraction.h"
#include "Listing.h"
#include "OutputDirectory.h"
#include "PartsRead.h"
#include "ProgressLine.h"
#include "Selection.h"
#include "SetVerification.h"
#include "StdoutOutput.h"
#include "VolumeSeries.h"
#include "volumes/VolumeRules.h"

namespace {

namespace fs = std::filesystem;

void Warn(const std::string& message) { std::cerr << "diskspan-extract: " << message << "\n"; }

// Everything the run reads the set from, found before anything is decoded.
struct SetParts {
  Volume Setup;  // the setup file, whose first StubSize bytes are the installer's
  FoundVolumes Found;
  StreamPlan Plan;
};

// "file 3 of 12, disk 2 of 5" for the progress line.
std::string Whereabouts(const SetInfo& set, const std::vector<bool>& selected, const std::vector<std::int64_t>& sizes,
                        std::int64_t decoded, std::int64_t codedUsed) {
  int files = 0, done = 0;
  for (std::size_t i = 0; i < set.Entries.size(); ++i) {
    if (!selected[i]) continue;
    ++files;
    if (std::int64_t{set.Entries[i].Offset} + set.Entries[i].Size <= decoded) ++done;
  }
  std::size_t disk = 0;
  for (std::int64_t end = 0; disk < sizes.size() && (end += sizes[disk]) < codedUsed;) ++disk;
  return "file " + std::to_string(std::min(done + 1, files)) + " of " + std::to_string(files) + ", disk " +
         std::to_string(std::min<int>(static_cast<int>(disk) + 1, set.VolumeCount())) + " of " +
         std::to_string(set.VolumeCount());
}

// The set with only the selected entries: a listing of the whole set when
// no pattern was given.
SetInfo OnlySelected(SetInfo set, const std::vector<bool>& selected) {
  std::vector<FileEntry> kept;
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) kept.push_back(set.Entries[i]);
  set.Entries = std::move(kept);
  return set;
}

// What --test says of a set with nothing wrong.
const char* Verdict(const SetInfo& set, bool everything) {
  if (set.Record && set.Record->Version >= 2 && everything)
    return "The set is sound: the installer, its file table, every volume and every file match their CRC-32s.";
  if (set.Record)
    return everything ? "The set is sound: the installer, every volume and every file match their CRC-32s."
                      : "The selected files are sound: every volume and each of them match their CRC-32s.";
  return everything ? "The set is sound as far as it can tell: it carries no checksums, so only its structure and "
                      "lengths were checked."
                    : "The selected files decode to their full lengths; the set carries no checksums, so their "
                      "contents were not checked.";
}

// The set's record as the run will use it: a damaged one stops it unless
// --ignore-checksums, which drops the record and says what goes unchecked.
void ApplyRecordChoices(const ExtractRequest& r, SetInfo& set) {
  if (r.IgnoreChecksums) {
    if (const std::string note = IgnoreChecksums(set); !note.empty()) Warn(note);
  } else if (!set.RecordDamage.empty()) {
    throw ExtractError(DamagedInstallerMessage(set));
  }
  if (set.UnknownRecordVersion != 0) Warn(UnknownRecordNote(set));
}

// The name the volumes go by: as told, else the installer's own when a
// volume carries it, else the series found by content (said in one line).
std::string VolumeBase(const ExtractRequest& r, const SetInfo& set, VolumeFinder& finder) {
  if (!r.VolumeName.empty()) return r.VolumeName;
  if (finder.Find(VolumeFileName(set.StubName, 1).c_str())) return set.StubName;
  const auto series = SeriesByContent(finder, set);
  if (!series) return set.StubName;
  Warn(SeriesNote(set, *series));
  return series->Base;
}

// Asks on the terminal for a disk that no place holds: false to give up.
bool AskForDisk(const VolumeFinder& finder, int disk, const std::string& volumeName) {
  std::cerr << "diskspan-extract: " << finder.WhereLooked(volumeName) << "\n"
            << "Insert disk " << disk << " (" << volumeName << ") and press Enter, or q and Enter to give up: "
            << std::flush;
  std::string answer;
  return std::getline(std::cin, answer) && answer != "q" && answer != "Q";
}

// Finds the volumes (waiting for each disk on the terminal if asked, and
// then keeping a copy of each, as the disk will be taken out) and checks
// them against the set's record.
SetParts FindParts(const ExtractRequest& r, SetInfo& set, bool fromImage, DiskSpool& spool, ProgressLine& line) {
  // Beside the installer (in its image), in the places named, then in the
  // images beside the image.
  const fs::path& first = r.Setup;
  std::vector<fs::path> places = {fromImage ? first : first.parent_path()};
  places.insert(places.end(), r.VolumePlaces.begin(), r.VolumePlaces.end());
  if (fromImage) places.push_back(first.parent_path());
  VolumeFinder finder(places);
  set.VolumeBase = VolumeBase(r, set, finder);

  bool wait = r.WaitForDisks;
  if (wait && ::isatty(STDIN_FILENO) == 0) {
    Warn("--wait-for-disks: standard input is not a terminal to answer on: not waiting for disks");
    wait = false;
  }
  SetParts parts;
  parts.Setup = fromImage ? Volume{set.StubName, 0, first, {}} : Volume{first, 0, {}, {}};
  if (wait && set.Record) parts.Setup = spool.Keep(parts.Setup, set.Record->StubSize);
  const auto ask = [&finder](int disk, const std::string& name) { return AskForDisk(finder, disk, name); };
  const auto keep = [&spool](const Volume& v) { return spool.Keep(v); };
  parts.Found = wait ? FindVolumes(finder, set.VolumeBase, set.VolumeCount(), ask, keep)
                     : FindVolumes(finder, set.VolumeBase, set.VolumeCount());
  for (const fs::path& unused : finder.Unused(1, r.VolumePlaces.size()))
    Warn(unused.string() + ": not used: no volume of this set was taken from it");

  PartsVerdict verdict;
  if (set.Record) {
    const std::string disks = std::to_string(set.VolumeCount());
    verdict = VerifyParts(*set.Record, parts.Setup, parts.Found.Volumes,
                          [&](std::int64_t done, std::int64_t total, int disk) {
                            line.Show(done, total, "checking disk " + std::to_string(disk) + " of " + disks);
                          });
  }
  parts.Plan = PlanStream(set, parts.Found, verdict);
  return parts;
}

// Lists the set with the disks of each file; a damaged installer or volume
// is said so and fails the run, unless its checksums are to be ignored.
int List(const ExtractRequest& r, SetInfo& set, const SetParts& parts, const std::vector<bool>& selected,
         bool everything, int code) {
  VolumeChain stream(parts.Found.Volumes);
  const DiskMap disks = MapDisks(set, parts.Plan, stream);
  const SetInfo shown = everything ? set : OnlySelected(set, selected);
  std::cout << (r.Json ? ListingJson(shown, &disks) : ListingText(shown, &disks));
  for (const auto& p : parts.Plan.Damage) Warn(p);
  for (const auto& p : parts.Plan.Problems) Warn(p);
  bool unknown = false;
  for (const FileEntry& e : shown.Entries) unknown = unknown || disks.DiskOf(e.Offset) == 0;
  if (unknown && !parts.Plan.MissingMessage.empty())
    Warn(parts.Plan.MissingMessage + ": the files from there on are listed with disks '?'");
  if (!set.RecordDamage.empty()) {
    Warn(r.IgnoreChecksums ? IgnoreChecksums(set) : DamagedInstallerMessage(set));
    if (!r.IgnoreChecksums) return Damaged;
  }
  return parts.Plan.Damage.empty() ? code : Damaged;
}

int Test(const ExtractRequest& r, const SetInfo& set, const SetParts& parts, const std::vector<bool>& selected,
         bool everything, int code, const ProgressFn& progress, ProgressLine& line) {
  VolumeChain stream(parts.Found.Volumes);
  const SetReport report = TestSet(set, parts.Plan, stream, selected, progress);
  line.Close();
  for (const auto& p : parts.Plan.Damage) Warn(p);
  for (const auto& p : report.Problems) Warn(p);
  if (r.Output.Verbose)
    for (std::size_t i = 0; i < selected.size(); ++i)
      if (selected[i]) {
        const auto verdict = report.Verdicts.find(i);
        std::cout << ShownPath(set.Entries[i].Name, set.Texts) << ": "
                  << (verdict == report.Verdicts.end() ? "not tested" : verdict->second) << "\n";
      }
  if (!report.Ok() || !parts.Plan.Damage.empty()) return Damaged;
  if (!r.Output.Quiet) std::cout << Verdict(set, everything) << "\n";
  return code;
}

int ToStdout(const SetInfo& set, const SetParts& parts, const std::vector<bool>& selected, int code,
             const ProgressFn& progress, ProgressLine& line) {
  VolumeChain stream(parts.Found.Volumes);
  StdoutOutput out(selected);
  const SetReport report = ExtractSet(set, parts.Plan, stream, out, selected, progress);
  out.Finish();
  line.Close();
  for (const auto& p : parts.Plan.Damage) Warn(p);
  for (const auto& p : report.Problems) Warn(p);
  return report.Ok() && parts.Plan.Damage.empty() ? code : Damaged;
}

// Where the selected, acceptable entries would be written.
std::vector<fs::path> Targets(const SetInfo& set, const std::vector<bool>& selected, const OutputDirectory& output) {
  const std::vector<std::string> refused = TableProblems(set.Entries, set.Texts);
  std::vector<fs::path> targets;
  for (std::size_t i = 0; i < set.Entries.size(); ++i)
    if (selected[i] && refused[i].empty()) targets.push_back(output.PathFor(set.Entries[i]));
  return targets;
}

// Files kept because they exist: one line, or one each with -v.
void SayKept(const ExtractRequest& r, const std::vector<std::string>& kept) {
  if (r.Existing != ExtractRequest::Keep || kept.empty()) return;
  const std::string hint = "; kept (--overwrite replaces such files, -n skips them quietly)";
  if (r.Output.Verbose)
    for (const auto& path : kept) Warn(path + ": already exists" + hint);
  else if (kept.size() == 1)
    Warn(kept.front() + ": already exists" + hint);
  else
    Warn(kept.front() + " and " + std::to_string(kept.size() - 1) + " more files already exist" + hint);
}

int Extract(const ExtractRequest& r, const SetInfo& set, const SetParts& parts, std::vector<bool>& selected,
            int code, const ProgressFn& progress, ProgressLine& line, bool fromImage) {
  OutputDirectory output(r.OutputDir, r.Existing == ExtractRequest::Overwrite, set.Texts);
  if (r.Existing == ExtractRequest::Overwrite)
    CheckNotWritingOverParts(PartsRead(r.Setup, fromImage, parts.Found.Volumes), Targets(set, selected, output));
  std::error_code error;
  fs::create_directories(r.OutputDir, error);
  if (error) throw ExtractError(r.OutputDir.string() + ": cannot create: " + error.message());
  // Existing files are kept: they are neither decoded for nor written.
  output.SkipExisting(set.Entries, selected);
  VolumeChain stream(parts.Found.Volumes);
  const SetReport report = ExtractSet(set, parts.Plan, stream, output, selected, progress);
  line.Close();
  for (const auto& p : parts.Plan.Damage) Warn(p);
  for (const auto& p : report.Problems) Warn(p);
  for (const auto& failure : output.Failures()) Warn(failure);
  SayKept(r, output.Kept());
  if (r.Output.Verbose)
    for (const auto& name : output.Written()) std::cout << (r.OutputDir / name).string() << "\n";
  if (!r.Output.Quiet)
    std::cout << Counted(static_cast<std::int64_t>(output.Written().size()), "file") << " written to "
              << r.OutputDir.string()
              << (output.Kept().empty() ? "" : ", " + std::to_string(output.Kept().size()) + " kept as they were")
              << "\n";
  if (!report.Ok() || !parts.Plan.Damage.empty() || !output.Failures().empty()) return Damaged;
  if (!output.Kept().empty() && r.Existing == ExtractRequest::Keep) return FilesExist;
  return code;
}

// Patterns that select nothing; a plain name that is no file either may be
// a place misspelt.
int SayUnmatched(const Selection& selection) {
  int code = Success;
  for (const auto& pattern : selection.Unmatched()) {
    std::error_code error;
    const bool plain = pattern.find_first_of("*?[") == std::string::npos;
    Warn("'" + pattern + "' matches no file in the set" +
         (plain && !fs::exists(pattern, error) ? ", nor is it a file or directory here" : ""));
    code = NothingMatched;
  }
  return code;
}

}  // namespace

int RunExtract(ExtractRequest& r) {
  std::optional<CodePage> asked;
  if (!r.CodePage.empty()) asked = CodePage(CodePageFromOption(r.CodePage));
  const bool fromImage = IsDiskImage(r.Setup);
  SetInfo set = fromImage ? ReadSetInfoFromImage(r.Setup, asked) : ReadSetInfo(r.Setup, asked);
  if (!set.CodePageNote.empty()) Warn(set.CodePageNote);
  CheckPlaceArguments(r, set);
  Selection selection(r.Patterns);
  std::vector<bool> selected = selection.Apply(set);
  const int code = SayUnmatched(selection);
  if (r.Mode != ExtractRequest::List) ApplyRecordChoices(r, set);

  DiskSpool spool;
  ProgressLine line(r.Output.ProgressOnTerminal(), r.Output.ProgressForced());
  const SetParts parts = FindParts(r, set, fromImage, spool, line);
  if (r.Mode == ExtractRequest::List) return line.Close(), List(r, set, parts, selected, selection.Everything(), code);

  // Counts the files selected, less those kept once they are known.
  const ProgressFn progress = [&](std::int64_t decoded, std::int64_t needed, std::int64_t codedUsed) {
    line.Show(decoded, needed, Whereabouts(set, selected, parts.Plan.VolumeSizes, decoded, codedUsed));
  };
  switch (r.Mode) {
    case ExtractRequest::Test:
      return Test(r, set, parts, selected, selection.Everything(), code, progress, line);
    case ExtractRequest::ToStdout: return ToStdout(set, parts, selected, code, progress, line);
    default: return Extract(r, set, parts, selected, code, progress, line, fromImage);
  }
}
