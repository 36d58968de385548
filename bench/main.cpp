// Encoder and decoder throughput over a 16 MB corpus from this machine,
// with lhasa decoding the same stream as the reference in the same run.
// Usage: diskspan_bench [decode runs, default 5]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "Corpus.h"
#include "DecoderBench.h"
#include "EncoderBench.h"
#include "ExtractRun.h"
#include "LhasaRun.h"
#include "Stopwatch.h"

namespace {

constexpr std::size_t CorpusSize = std::size_t{16} << 20;
constexpr double DecoderTargetVersusLhasa = 2.0;
constexpr double EncoderTargetMegabytesPerSecond = 10.0;
constexpr double OptimalTargetMegabytesPerSecond = 8.0;
constexpr double OptimalTargetVersusLazy = 0.985;  // at least 1.5 % smaller
constexpr std::size_t TextSize = std::size_t{4} << 20;
constexpr double ExtractTargetVersusDecoder = 1.2;
constexpr double ExtractTargetVersusLhasa = 3.2;

double Ratio(const bench::EncoderRun& run, std::size_t inputSize) {
  return static_cast<double>(run.Coded.size()) / static_cast<double>(inputSize);
}

void PrintEncoderRow(const char* name, const bench::EncoderRun& run, std::size_t inputSize) {
  std::printf("  %-40s %8.1f MB/s  %10zu bytes  %6.2f %%\n", name,
              bench::MegabytesPerSecond(inputSize, run.Seconds), run.Coded.size(),
              100.0 * Ratio(run, inputSize));
}

void PrintParseRows(const std::vector<bench::ParseRun>& runs, std::size_t inputSize) {
  for (const bench::ParseRun& run : runs) PrintEncoderRow(run.Name, run.Run, inputSize);
}

bool OptimalMeetsTarget(const std::vector<bench::ParseRun>& runs) {
  const auto size = [&runs](int row) { return static_cast<double>(runs[row].Run.Coded.size()); };
  return size(2) <= OptimalTargetVersusLazy * size(1);
}

void PrintDecoderRow(const char* name, double seconds, std::size_t outputSize, double lhasaSeconds) {
  std::printf("  %-40s %8.1f MB/s  %8.3f s  %6.2fx lhasa\n", name,
              bench::MegabytesPerSecond(outputSize, seconds), seconds, lhasaSeconds / seconds);
}

void PrintVerdict(const char* target, bool met) {
  std::printf("  %-60s %s\n", target, met ? "met" : "NOT MET");
}

// Decoder times for one input, each row over the same coded stream.
struct DecoderTimes {
  double Lhasa = 0;
  double Callbacks = 0;
  double Inlined = 0;
  double Block = 0;
  double Extract = 0;
};

DecoderTimes TimeDecoders(const std::vector<std::uint8_t>& input, const std::vector<std::uint8_t>& coded,
                          int decodeRuns) {
  const bench::LhasaArchiveFile archive(input, coded);
  if (bench::LhasaPrint(archive.Path()) != input) throw std::runtime_error("lhasa disagrees");
  DecoderTimes t;
  t.Lhasa = bench::TimeLhasa(archive.Path(), decodeRuns);
  t.Callbacks = bench::TimeCallbackDecode(coded, input, decodeRuns);
  t.Inlined = bench::TimeInlinedDecode(coded, input, decodeRuns);
  t.Block = bench::TimeBlockDecode(coded, input, decodeRuns);
  const bench::DiskSetFiles set(input, coded);
  t.Extract = bench::TimeExtractTest(set.Stub(), decodeRuns);
  PrintDecoderRow("lhasa pq, whole process (reference)", t.Lhasa, input.size(), t.Lhasa);
  PrintDecoderRow("LzhDecode, callbacks", t.Callbacks, input.size(), t.Lhasa);
  PrintDecoderRow("inlined template", t.Inlined, input.size(), t.Lhasa);
  PrintDecoderRow("block decoder, in memory", t.Block, input.size(), t.Lhasa);
  PrintDecoderRow("diskspan-extract --test, whole process", t.Extract, input.size(), t.Lhasa);
  return t;
}

int Run(int decodeRuns) {
  const auto corpus = bench::BuildCorpus(CorpusSize);
  std::printf("corpus: %zu bytes from /usr/share/doc, /usr/include, /usr/bin (sorted, equal shares)\n",
              corpus.size());
  std::printf("MB = 10^6 bytes; decoder rows: output MB/s, best of %d runs\n\n", decodeRuns);

  if (!bench::LhasaInstalled()) throw std::runtime_error("lhasa is not installed");
  std::printf("encoder (MB/s of input, coded size, coded/input; each stream checked by our decoder and lhasa)\n");
  const auto parses = bench::TimeParses(corpus);
  PrintParseRows(parses, corpus.size());
  const bench::EncoderRun& greedy = parses[0].Run;
  const bench::EncoderRun& lazy = parses[1].Run;
  const bench::EncoderRun& optimal = parses[2].Run;
  const auto text = bench::BuildTextInput(TextSize);
  std::printf("encoder on %zu bytes of /usr/include headers\n", text.size());
  const auto textParses = bench::TimeParses(text);
  PrintParseRows(textParses, text.size());

  // The decoders read what the packer writes by default: the optimal parse.
  std::printf("\ndecoder on the corpus (the packer's default stream)\n");
  const DecoderTimes onCorpus = TimeDecoders(corpus, optimal.Coded, decodeRuns);
  std::printf("decoder on the headers (the packer's default stream)\n");
  const DecoderTimes onText = TimeDecoders(text, textParses[2].Run.Coded, decodeRuns);

  std::printf("\ntargets (on the corpus unless named)\n");
  const DecoderTimes& t = onCorpus;
  PrintVerdict("decoder through callbacks at least 2x lhasa", t.Lhasa / t.Callbacks >= DecoderTargetVersusLhasa);
  PrintVerdict("extract --test within 1.2x of the inlined decoder", t.Extract <= ExtractTargetVersusDecoder * t.Inlined);
  PrintVerdict("extract --test at least 2x lhasa, process against process", t.Lhasa / t.Extract >= DecoderTargetVersusLhasa);
  PrintVerdict("extract --test at least 3.2x lhasa, process against process", t.Lhasa / t.Extract >= ExtractTargetVersusLhasa);
  PrintVerdict("extract --test at least 3.2x lhasa on the headers", onText.Lhasa / onText.Extract >= ExtractTargetVersusLhasa);
  PrintVerdict("lazy encoding no larger than greedy", lazy.Coded.size() <= greedy.Coded.size());
  PrintVerdict("lazy encoder (pack --fast) at least 10 MB/s",
               bench::MegabytesPerSecond(corpus.size(), lazy.Seconds) >= EncoderTargetMegabytesPerSecond);
  PrintVerdict("optimal at least 1.5 % smaller than lazy", OptimalMeetsTarget(parses));
  PrintVerdict("optimal at least 1.5 % smaller than lazy on the headers", OptimalMeetsTarget(textParses));
  PrintVerdict("optimal encoder (pack default) at least 8 MB/s",
               bench::MegabytesPerSecond(corpus.size(), optimal.Seconds) >= OptimalTargetMegabytesPerSecond);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc > 1 ? std::atoi(argv[1]) : 5);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "diskspan_bench: %s\n", e.what());
    return 1;
  }
}
