#include "Extraction.h"

#include <algorithm>

#include "ExtractError.h"
#include "SetChecks.h"
#include "VerifyingOutput.h"

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

struct DecodeRequest {
  const std::vector<bool>& Wanted;
  std::int64_t Needed;          // decoded bytes to reach
  std::int64_t TrustedCoded;    // coded bytes that may be decoded from
  const char* UnfinishedNote;   // after the name of a file left unfinished at the trusted end
};

// Decodes what is asked and hands the wanted entries to `output` through
// the CRC check. Bytes decoded from past the stream's end are not the set's:
// none reaches `output` (StreamEndedEarly).
void DecodeEntries(const SetInfo& set, ByteSource& stream, EntryOutput& output, const DecodeRequest& request,
                   const ProgressFn& progress, std::vector<std::string>& problems) {
  VerifyingOutput checked(set, output, problems);
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
        request.TrustedCoded);
  if (outcome.StreamEndedEarly()) throw StreamEndedEarly();
  if (!outcome.StoppedAtLimit) return router.Finish(request.Needed);
  for (std::size_t index : router.Abandon())
    problems.push_back(set.Texts.Shown(set.Entries[index].Name) + request.UnfinishedNote);
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
                  const std::vector<bool>& selected, const ProgressFn& progress, std::int64_t trustedCodedBytes) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, selected, report.Problems);
  const DecodeRequest request{wanted, DecodedBytesNeeded(set, selected), trustedCodedBytes,
                              " needs bytes from a damaged volume"};
  NoOutput nothing;
  try {
    DecodeEntries(set, stream, nothing, request, progress, report.Problems);
  } catch (const StreamEndedEarly& e) {
    report.Problems.push_back(e.what());
  }
  return report;
}

SetReport ExtractSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                     EntryOutput& output, const std::vector<bool>& selected, const ProgressFn& progress,
                     std::int64_t trustedCodedBytes) {
  SetReport report{FatalProblems(set, volumeSizes)};
  if (!report.Ok()) return report;
  const std::vector<bool> wanted = AcceptableEntries(set, selected, report.Problems);
  const DecodeRequest request{wanted, DecodedBytesNeeded(set, wanted), trustedCodedBytes,
                              " needs bytes from a damaged volume; not written"};
  DecodeEntries(set, stream, output, request, progress, report.Problems);
  return report;
}
