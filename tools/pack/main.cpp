// diskspan-pack: makes a disk set from files: a copy of the installer stub
// with the configuration block appended, and the coded stream cut into
// floppy-sized volumes beside it.
#include <iostream>

#include "CommandLine.h"
#include "DefaultStub.h"
#include "DiskImages.h"
#include "DiskSet.h"
#include "DiskSetWriter.h"
#include "InputFiles.h"
#include "PackCommandLine.h"
#include "PackReport.h"
#include "ProgressLine.h"

namespace {

std::int64_t StubSize(const PackOptions& options) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(options.Stub, error))
    throw PackError("--stub " + options.Stub.string() +
                    ": no such file (build the stub with the win32 preset, or name one)");
  return static_cast<std::int64_t>(std::filesystem::file_size(options.Stub, error));
}

int Pack(const PackOptions& options) {
  const CodePage codePage(options.CodePageNumber);
  CheckOptions(options, codePage);
  const auto files = StatInputFiles(options.Inputs, codePage);
  const SetPlan plan = PlanDiskSet(options, codePage, StubSize(options), files);
  CheckOutputsReplaceable(options, 1);  // the rest once the volume count is known

  ProgressLine line(options.Output.ProgressOnTerminal(), options.Output.ProgressForced());
  const WrittenSet set = WriteDiskSet(options, plan, files, [&](std::int64_t read, std::int64_t total,
                                                                std::size_t file, std::size_t volumes) {
    line.Show(read, total, "file " + std::to_string(file) + " of " + std::to_string(files.size()) + ", " +
                               Counted(static_cast<std::int64_t>(volumes), "volume"));
  });
  line.Close();
  PackSummary summary{options, files, set, {}};
  if (options.Force) summary.Removed = RemoveStaleVolumes(options, set.VolumeLengths.size());
  if (options.Images) WriteDiskImages(options, set.Paths);
  if (!options.Output.Quiet) std::cout << (options.Json ? PackReportJson(summary) : PackReportText(summary));
  return PackSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(PackDescription, "diskspan-pack");
  PackOptions options;
  RawPackValues raw;
  AddPackOptions(app, options, raw);
  if (const auto exit = ParseCommandLine(app, argc, argv)) return *exit;
  try {
    if (options.Stub.empty()) options.Stub = DefaultStubPath();
    ApplyPackValues(options, raw);
    return Pack(options);
  } catch (const UsageError& e) {
    std::cerr << "diskspan-pack: " << e.what() << "\nTry 'diskspan-pack --help' for more information.\n";
    return PackUsage;
  } catch (const CodePageError& e) {
    std::cerr << "diskspan-pack: --codepage: " << e.what() << "\n";
    return PackUsage;
  } catch (const PackError& e) {
    std::cerr << "diskspan-pack: " << e.what() << "\n";
    return PackFailed;
  }
}
