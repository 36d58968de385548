#include "Extraction.h"

#include <algorithm>

#include "ExtractError.h"
#include "SetChecks.h"

namespace {

const char* const EndedEarly = "the coded stream ends before the decoded size is reached (the set is damaged)";

// The selected entries that may be written; the others' problems reported.
std::vector<bool> AcceptableEntries(const SetInfo& set, const std::vector<bool>& selected,
                                    std::vector<std::string>& problems) {
  std::vector<bool> wanted;
  for (std::size_t i = 0; i < set.Entries.size(); ++i) {
    const auto problem = selected[i] ? EntryProblem(set.Entries[i], set.Texts) : std::nullopt;
    if (problem) problems.push_back(*problem);
    wanted.push_back(selected[i] && !problem);
  }
  return wanted;
}

void Report(const ProgressFn& progress, std::int64_t decoded, std::int64_t needed, const DecodeOutcome& soFar) {
  if (progress) progress(decoded, needed, soFar.CodedBytesUsed);
}

}  // namespace

std::vector<std::string> FatalProblems(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes) {
  std::vector<std::string> problems;
  // The block itself was checked when it was read (ImplausibleBlock).
  if (auto c = ClaimedSizeProblem(set.Entries, set.Trailer.UnpackedSize)) problems.push_back(set.StubName + ": " + *c);
  else if (auto v = VolumeSizeProblem(set.Trailer, volumeSizes)) problems.push_back(*v);
  return problems;
}

std::int64_t DecodedBytesNeeded(const SetInfo& set, const std::vector<bool>& selected) {
  std::int64_t needed = 0;
  for (std::size_t i = 0; i < set.Entries.size(); ++i)
    if (selected[i]) needed = std::max<std::int64_t>(needed, std::int64_t{set.Entries[i].Offset} + set.Entries[i].Size);
  // Testing the whole set decodes the whole stream, past the last entry too.
  if (std::find(selected.begin(), selected.end(), false) == selected.end()) needed = set.Trailer.UnpackedSize;
  return needed;
}

SetReport TestSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                  const std::vector<bool>& selected, const ProgressFn& progress) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  AcceptableEntries(set, selected, report.Problems);
  const std::int64_t needed = DecodedBytesNeeded(set, selected);
  if (needed == 0) return report;
  std::int64_t decoded = 0;
  const DecodeOutcome outcome = DecodeStream(
      stream, static_cast<std::int32_t>(needed),
      [&](std::int64_t, std::span<const std::uint8_t> bytes, const DecodeOutcome& soFar) {
        decoded += static_cast<std::int64_t>(bytes.size());
        Report(progress, decoded, needed, soFar);
      });
  if (outcome.StreamEndedEarly()) report.Problems.push_back(EndedEarly);
  return report;
}

SetReport ExtractSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                     EntryOutput& output, const std::vector<bool>& selected, const ProgressFn& progress) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, selected, report.Problems);
  const std::int64_t needed = DecodedBytesNeeded(set, wanted);
  EntryRouter router(set.Entries, wanted, output);
  if (needed > 0)
    DecodeStream(stream, static_cast<std::int32_t>(needed),
                 [&](std::int64_t offset, std::span<const std::uint8_t> bytes, const DecodeOutcome& soFar) {
                   // Bytes decoded from past the end are not the set's: write none of them.
                   if (soFar.StreamEndedEarly()) throw ExtractError(EndedEarly);
                   router.Take(offset, bytes);
                   Report(progress, offset + static_cast<std::int64_t>(bytes.size()), needed, soFar);
                 });
  router.Finish(needed);
  return report;
}
