#include "Extraction.h"

#include <algorithm>
#include <numeric>

#include "EntryNames.h"
#include "ExtractError.h"
#include "SetChecks.h"
#include "VerifyingOutput.h"
#include "volumes/VolumeRules.h"

namespace {

const char* const EndedEarly = "the coded stream ends before the decoded size is reached (the set is damaged)";

class StreamEndedEarly : public ExtractError {
 public:
  StreamEndedEarly() : ExtractError(EndedEarly) {}
};

// Testing writes nothing: the bytes only pass through the CRC check.
class NoOutput final : public EntryOutput {
 public:
  void Begin(std::size_t, const FileEntry&) override {}
  void Write(std::size_t, std::span<const std::uint8_t>) override {}
  void End(std::size_t, const FileEntry&) override {}
};

// The selected entries that may be written; the others' problems reported.
std::vector<bool> AcceptableEntries(const SetInfo& set, const std::vector<bool>& selected, SetReport& report) {
  const std::vector<std::string> problems = TableProblems(set.Entries, set.Texts);
  std::vector<bool> wanted;
  for (std::size_t i = 0; i < set.Entries.size(); ++i) {
    const bool refused = selected[i] && !problems[i].empty();
    if (refused) report.Problems.push_back(problems[i]), report.Verdicts[i] = "refused";
    wanted.push_back(selected[i] && !refused);
  }
  return wanted;
}

void Report(const ProgressFn& progress, std::int64_t decoded, std::int64_t needed, const DecodeOutcome& soFar) {
  if (progress) progress(decoded, needed, soFar.CodedBytesUsed);
}

struct DecodeRequest {
  const std::vector<bool>& Wanted;
  std::int64_t Needed;     // decoded bytes to reach
  const char* Unfinished;  // what becomes of a file left unfinished at the gap: "not written"
};

// "needs disk 3, which is missing"
std::string GapNeed(const StreamPlan& plan) {
  return "needs disk " + std::to_string(plan.GapDisk) + ", which is " + plan.GapWhy;
}

// Decodes what is asked and hands the wanted entries to `output` through
// the CRC check. Bytes decoded from past the stream's end are not the set's:
// none reaches `output` (StreamEndedEarly).
void DecodeEntries(const SetInfo& set, const StreamPlan& plan, ByteSource& stream, EntryOutput& output,
                   const DecodeRequest& request, const ProgressFn& progress, SetReport& report) {
  VerifyingOutput checked(set, output, report.Problems, report.Verdicts);
  EntryRouter router(set.Entries, request.Wanted, checked);
  DecodeOutcome outcome;
  if (request.Needed > 0)
    outcome = DecodeStream(
        stream, static_cast<std::int32_t>(request.Needed),
        [&](std::int64_t offset, std::span<const std::uint8_t> bytes, const DecodeOutcome& soFar) {
          if (soFar.StreamEndedEarly()) throw StreamEndedEarly();
          router.Take(offset, bytes);
          Report(progress, offset + static_cast<std::int64_t>(bytes.size()), request.Needed, soFar);
        },
        plan.TrustedCodedBytes);
  if (outcome.StreamEndedEarly()) throw StreamEndedEarly();
  if (!outcome.StoppedAtLimit) return router.Finish(request.Needed);
  if (!plan.MissingMessage.empty()) report.Problems.push_back(plan.MissingMessage);
  for (std::size_t index : router.Abandon()) {
    report.Problems.push_back(ShownPath(set.Entries[index].Name, set.Texts) + " " + GapNeed(plan) + ": " +
                              request.Unfinished);
    report.Verdicts[index] = GapNeed(plan);
  }
}

// The first volume between the first and the last that is shorter than
// another of them (they all fill a disk); 0 when there is none.
int ShortMiddleVolume(const std::vector<std::int64_t>& sizes) {
  if (sizes.size() < 3) return 0;
  const std::int64_t full = *std::max_element(sizes.begin() + 1, sizes.end() - 1);
  for (std::size_t k = 1; k + 1 < sizes.size(); ++k)
    if (sizes[k] < full) return static_cast<int>(k + 1);
  return 0;
}

std::int64_t BytesBefore(const std::vector<std::int64_t>& sizes, int disk) {
  return std::accumulate(sizes.begin(), sizes.begin() + (disk - 1), std::int64_t{0});
}

}  // namespace

StreamPlan PlanStream(const SetInfo& set, const FoundVolumes& found, const PartsVerdict& parts) {
  StreamPlan plan;
  for (const Volume& v : found.Volumes) plan.VolumeSizes.push_back(v.Size);
  const auto count = static_cast<int>(plan.VolumeSizes.size());
  const std::int64_t total = BytesBefore(plan.VolumeSizes, count + 1);
  plan.Damage = parts.Problems;
  if (parts.FirstDamagedDisk != 0) {
    plan.TrustedCodedBytes = parts.TrustedCodedBytes, plan.GapDisk = parts.FirstDamagedDisk, plan.GapWhy = "damaged";
  } else if (found.MissingDisk != 0) {
    plan.TrustedCodedBytes = total, plan.GapDisk = found.MissingDisk, plan.GapWhy = "missing";
    plan.MissingMessage = "disk " + std::to_string(found.MissingDisk) + " is missing: " + found.WhereLooked;
  }
  if (auto claimed = ClaimedSizeProblem(set.Entries, set.Trailer.UnpackedSize))
    return plan.Problems.push_back(set.StubName + ": " + *claimed), plan;
  const std::int64_t needed = set.Trailer.SplitSize;
  if (found.MissingDisk != 0 ? total <= needed : total == needed || parts.FirstDamagedDisk != 0) return plan;
  const int disk = set.Record || found.MissingDisk != 0 || total > needed ? 0 : ShortMiddleVolume(plan.VolumeSizes);
  if (disk == 0) return plan.Problems.push_back(*VolumeSizeProblem(set.Trailer, plan.VolumeSizes)), plan;
  plan.TrustedCodedBytes = BytesBefore(plan.VolumeSizes, disk), plan.GapDisk = disk, plan.GapWhy = "truncated";
  plan.Damage.push_back(found.Volumes[static_cast<std::size_t>(disk - 1)].Shown() +
                        " is shorter than the volumes around it (the volumes hold " + std::to_string(total) +
                        " bytes, the set " + std::to_string(needed) + "): get a good copy of disk " +
                        std::to_string(disk));
  return plan;
}

std::int64_t DecodedBytesNeeded(const SetInfo& set, const std::vector<bool>& selected) {
  std::int64_t needed = 0;
  for (std::size_t i = 0; i < set.Entries.size(); ++i)
    if (selected[i]) needed = std::max<std::int64_t>(needed, std::int64_t{set.Entries[i].Offset} + set.Entries[i].Size);
  // Testing the whole set decodes the whole stream, past the last entry too.
  if (std::find(selected.begin(), selected.end(), false) == selected.end()) needed = set.Trailer.UnpackedSize;
  return needed;
}

SetReport TestSet(const SetInfo& set, const StreamPlan& plan, ByteSource& stream, const std::vector<bool>& selected,
                  const ProgressFn& progress) {
  SetReport report{plan.Problems, {}};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, selected, report);
  NoOutput nothing;
  try {
    DecodeEntries(set, plan, stream, nothing, {wanted, DecodedBytesNeeded(set, selected), "not tested"}, progress,
                  report);
  } catch (const StreamEndedEarly& e) {
    report.Problems.push_back(e.what());
  }
  return report;
}

SetReport ExtractSet(const SetInfo& set, const StreamPlan& plan, ByteSource& stream, EntryOutput& output,
                     const std::vector<bool>& selected, const ProgressFn& progress) {
  SetReport report{plan.Problems, {}};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, selected, report);
  DecodeEntries(set, plan, stream, output, {wanted, DecodedBytesNeeded(set, wanted), "not written"}, progress,
                report);
  return report;
}

DiskMap MapDisks(const SetInfo& set, const StreamPlan& plan, ByteSource& stream) {
  DiskMap map(plan.VolumeSizes);
  std::int64_t decoded = 0;
  try {
    if (plan.Problems.empty())
      DecodeStream(
          stream, set.Trailer.UnpackedSize,
          [&](std::int64_t offset, std::span<const std::uint8_t> bytes, const DecodeOutcome& soFar) {
            if (soFar.StreamEndedEarly()) throw StreamEndedEarly();
            decoded = offset + static_cast<std::int64_t>(bytes.size());
          },
          plan.TrustedCodedBytes, map.Marks());
  } catch (const StreamEndedEarly&) {
  }
  map.Decoded(decoded, set.Trailer.UnpackedSize);
  return map;
}
