// diskspan-extract: lists, tests and restores a disk set on any machine,
// without Windows.
#include <clocale>
#include <cstdio>
#include <iostream>

#include "ByteSource.h"
#include "CommandLine.h"
#include "ExtractError.h"
#include "ExtractOptions.h"
#include "Extraction.h"
#include "FloppyImage.h"
#include "Listing.h"
#include "OutputDirectory.h"
#include "PartsRead.h"
#include "ProgressLine.h"
#include "Selection.h"
#include "SetChecks.h"
#include "SetInfo.h"
#include "SetVerification.h"
#include "VolumeFinder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::int64_t> Sizes(const std::vector<Volume>& volumes) {
  std::vector<std::int64_t> sizes;
  for (const auto& v : volumes) sizes.push_back(v.Size);
  return sizes;
}

void Warn(const std::string& message) { std::cerr << "diskspan-extract: " << message << "\n"; }

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
         std::to_string(std::min(disk + 1, sizes.size())) + " of " + std::to_string(sizes.size());
}

// Lists the selected entries only: a listing of the whole set when no
// pattern was given.
SetInfo OnlySelected(SetInfo set, const std::vector<bool>& selected) {
  std::vector<FileEntry> kept;
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) kept.push_back(set.Entries[i]);
  set.Entries = std::move(kept);
  return set;
}

// The setup file as a part to read again: a file, or one inside the disk image.
Volume SetupPart(const SetInfo& set, const fs::path& first, bool fromImage) {
  if (fromImage) return {set.StubName, 0, first};
  return {first, 0, {}};
}

// The installer's bytes and every volume against the set's record; nothing
// to check (and everything trusted) without one.
PartsVerdict CheckParts(const SetInfo& set, const Volume& setup, const std::vector<Volume>& volumes,
                        ProgressLine& line) {
  if (!set.Record) return {};
  const std::string disks = std::to_string(volumes.size());
  return VerifyParts(*set.Record, setup, volumes, [&](std::int64_t done, std::int64_t total, int disk) {
    line.Show(done, total, "checking disk " + std::to_string(disk) + " of " + disks);
  });
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

// Lists the set; a damaged installer is said so and fails the run, unless
// its checksums are to be ignored.
int List(const ExtractRequest& r, SetInfo& set, const Selection& selection, const std::vector<bool>& selected,
         int code) {
  const SetInfo shown = selection.Everything() ? set : OnlySelected(set, selected);
  std::cout << (r.Json ? ListingJson(shown) : ListingText(shown));
  if (set.RecordDamage.empty()) return code;
  Warn(r.IgnoreChecksums ? IgnoreChecksums(set) : DamagedInstallerMessage(set));
  return r.IgnoreChecksums ? code : Damaged;
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

// Where the selected, acceptable entries would be written.
std::vector<fs::path> Targets(const SetInfo& set, const std::vector<bool>& selected, const OutputDirectory& output) {
  std::vector<fs::path> targets;
  for (std::size_t i = 0; i < set.Entries.size(); ++i)
    if (selected[i] && !EntryProblem(set.Entries[i], set.Texts)) targets.push_back(output.PathFor(set.Entries[i]));
  return targets;
}

int Run(ExtractRequest& r) {
  const CodePage texts(CodePageFromOption(r.CodePage));
  const fs::path& first = r.Setup;
  const bool fromImage = IsDiskImage(first);
  SetInfo set = fromImage ? ReadSetInfoFromImage(first, texts) : ReadSetInfo(first, texts);
  CheckPlaceArguments(r, set);
  Selection selection(r.Patterns);
  const std::vector<bool> selected = selection.Apply(set);
  int code = Success;
  for (const auto& pattern : selection.Unmatched()) {
    Warn("'" + pattern + "' matches no file in the set");
    code = NothingMatched;
  }
  if (r.Mode == ExtractRequest::List) return List(r, set, selection, selected, code);
  ApplyRecordChoices(r, set);
  std::vector<fs::path> places = {fromImage ? first : first.parent_path()};
  places.insert(places.end(), r.VolumePlaces.begin(), r.VolumePlaces.end());
  VolumeFinder finder(places);
  const std::vector<Volume> volumes = FindVolumes(finder, set.StubName, set.VolumeCount());
  for (const fs::path& unused : finder.Unused(1))
    Warn(unused.string() + ": not used: no volume of this set was taken from it");
  const std::vector<std::int64_t> sizes = Sizes(volumes);
  VolumeChain stream(volumes);
  ProgressLine line(r.Output.ProgressOnTerminal(), r.Output.ProgressForced());
  const std::vector<bool>* shownSelection = &selected;  // the files the progress line counts
  const ProgressFn progress = [&](std::int64_t decoded, std::int64_t needed, std::int64_t codedUsed) {
    line.Show(decoded, needed, Whereabouts(set, *shownSelection, sizes, decoded, codedUsed));
  };
  const PartsVerdict parts = CheckParts(set, SetupPart(set, first, fromImage), volumes, line);

  if (r.Mode == ExtractRequest::Test) {
    const SetReport report = TestSet(set, sizes, stream, selected, progress, parts.TrustedCodedBytes);
    line.Close();
    for (const auto& p : parts.Problems) Warn(p);
    for (const auto& p : report.Problems) Warn(p);
    if (!report.Ok() || !parts.Problems.empty()) return Damaged;
    if (!r.Output.Quiet) std::cout << Verdict(set, selection.Everything()) << "\n";
    return code;
  }

  OutputDirectory output(r.OutputDir, r.Existing == ExtractRequest::Overwrite, texts);
  if (r.Existing == ExtractRequest::Overwrite)
    CheckNotWritingOverParts(PartsRead(first, fromImage, volumes), Targets(set, selected, output));
  std::error_code error;
  fs::create_directories(r.OutputDir, error);
  if (error) throw ExtractError(r.OutputDir.string() + ": cannot create: " + error.message());
  std::vector<bool> toWrite = selected;
  output.SkipExisting(set.Entries, toWrite);
  shownSelection = &toWrite;
  const SetReport report = ExtractSet(set, sizes, stream, output, toWrite, progress, parts.TrustedCodedBytes);
  line.Close();
  for (const auto& p : parts.Problems) Warn(p);
  for (const auto& p : report.Problems) Warn(p);
  for (const auto& failure : output.Failures()) Warn(failure);
  if (r.Existing == ExtractRequest::Keep)
    for (const auto& path : output.Kept())
      Warn(path + ": already exists; kept (--overwrite replaces such files, -n skips them quietly)");
  if (r.Output.Verbose)
    for (const auto& name : output.Written()) std::cout << (r.OutputDir / name).string() << "\n";
  if (!r.Output.Quiet)
    std::cout << Counted(static_cast<std::int64_t>(output.Written().size()), "file") << " written to "
              << r.OutputDir.string() << (output.Kept().empty() ? "" : ", " + std::to_string(output.Kept().size()) + " kept as they were") << "\n";
  if (!report.Ok() || !parts.Problems.empty() || !output.Failures().empty()) return Damaged;
  if (!output.Kept().empty() && r.Existing == ExtractRequest::Keep) return FilesExist;
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "C.UTF-8");  // patterns ignore case beyond ASCII too
  CLI::App app(ExtractDescription, "diskspan-extract");
  ExtractRequest request;
  AddExtractOptions(app, request);
  try {
    if (const auto exit = ParseCommandLine(app, SpreadVolumesOptions(argc, argv, request.AfterOptions))) return *exit;
    ResolveArguments(request);
    return Run(request);
  } catch (const UsageProblem& e) {
    Warn(e.what());
    std::cerr << "Try 'diskspan-extract --help' for more information.\n";
    return Usage;
  } catch (const CodePageError& e) {
    Warn("--codepage: " + std::string(e.what()));
    return Usage;
  } catch (const ExtractError& e) {
    Warn(e.what());
    return Damaged;
  } catch (const FloppyError& e) {
    Warn(e.what());
    return Damaged;
  } catch (const FileError& e) {
    Warn(e.what());
    return Damaged;
  }
}
