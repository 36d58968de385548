#include "Extraction.h"

#include "ExtractError.h"
#include "SetChecks.h"
#include "StreamDecode.h"

namespace {

const char* const EndedEarly = "the coded stream ends before the decoded size is reached (the set is damaged)";

std::vector<bool> AcceptableEntries(const SetInfo& set, std::vector<std::string>& problems) {
  std::vector<bool> wanted;
  for (const FileEntry& e : set.Entries) {
    const auto problem = EntryProblem(e, set.Texts);
    if (problem) problems.push_back(*problem);
    wanted.push_back(!problem);
  }
  return wanted;
}

}  // namespace

std::vector<std::string> FatalProblems(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes) {
  std::vector<std::string> problems;
  // The block itself was checked when it was read (ImplausibleBlock).
  if (auto c = ClaimedSizeProblem(set.Entries, set.Trailer.UnpackedSize)) problems.push_back(set.StubName + ": " + *c);
  else if (auto v = VolumeSizeProblem(set.Trailer, volumeSizes)) problems.push_back(*v);
  return problems;
}

SetReport TestSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                  const ProgressFn& progress) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  AcceptableEntries(set, report.Problems);
  std::int64_t decoded = 0;
  const DecodeOutcome outcome = DecodeStream(
      stream, set.Trailer.UnpackedSize, [&](std::int64_t, std::span<const std::uint8_t> bytes, const DecodeOutcome&) {
        decoded += static_cast<std::int64_t>(bytes.size());
        if (progress) progress(decoded, set.Trailer.UnpackedSize);
      });
  if (outcome.StreamEndedEarly()) report.Problems.push_back(EndedEarly);
  return report;
}

SetReport ExtractSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                     EntryOutput& output, const ProgressFn& progress) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, report.Problems);
  EntryRouter router(set.Entries, wanted, output);
  DecodeStream(stream, set.Trailer.UnpackedSize,
               [&](std::int64_t offset, std::span<const std::uint8_t> bytes, const DecodeOutcome& soFar) {
                 // Bytes decoded from past the end are not the set's: write none of them.
                 if (soFar.StreamEndedEarly()) throw ExtractError(EndedEarly);
                 router.Take(offset, bytes);
                 if (progress) progress(offset + static_cast<std::int64_t>(bytes.size()), set.Trailer.UnpackedSize);
               });
  router.Finish(set.Trailer.UnpackedSize);
  return report;
}
