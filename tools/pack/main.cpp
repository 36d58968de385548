// diskspan-pack: makes a disk set from files: a copy of the installer stub
// with the configuration block appended, and the coded stream cut into
// floppy-sized volumes beside it.
#include <iostream>
#include <sstream>

#include "CommandLine.h"
#include "DefaultStub.h"
#include "DiskSet.h"
#include "DiskSetWriter.h"
#include "FloppyImage.h"
#include "InputFiles.h"
#include "PackCommandLine.h"
#include "PackReport.h"
#include "ProgressLine.h"
#include "SetOutputs.h"
#include "StubProgram.h"

namespace {

int Pack(const PackOptions& options) {
  const std::int64_t stubSize = CheckStubProgram(options.Stub);
  if (options.Images) {
    try {
      CheckMtools();
    } catch (const FloppyError& e) {
      throw PackError(std::string("--images: ") + e.what());
    }
  }
  const CodePage codePage(options.CodePageNumber);
  CheckOptions(options, codePage);
  const GatheredInputs inputs = GatherInputFiles(options, codePage);
  const auto& files = inputs.Files;
  CheckInputsOutsideSet(options, files);
  const SetPlan plan = PlanDiskSet(options, codePage, stubSize, files);
  std::cerr << InputNotes(options.Output, inputs) << std::flush;
  if (!options.DryRun) CheckOutputsReplaceable(options, DiskSetPaths(options, 1));  // again once the volume count is known

  ProgressLine line(options.Output.ProgressOnTerminal(), options.Output.ProgressForced());
  const auto progress = [&](std::int64_t read, std::int64_t total, std::size_t file, std::size_t volumes) {
    line.Show(read, total, "file " + std::to_string(file) + " of " + std::to_string(files.size()) + ", " +
                               Counted(static_cast<std::int64_t>(volumes), "volume"));
  };
  const WrittenSet set = options.DryRun ? DryRunDiskSet(options, plan, files, progress)
                                        : WriteDiskSet(options, plan, files, progress);
  line.Close();
  if (!options.Output.Quiet) {
    const PackSummary summary{options, files, set};
    std::cout << (options.Json ? PackReportJson(summary) : PackReportText(summary));
  }
  return PackSuccess;
}

// Every line of the message, each as the tool's own.
void ShowError(const std::string& message) {
  std::istringstream lines(message);
  for (std::string line; std::getline(lines, line);) std::cerr << "diskspan-pack: " << line << "\n";
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
    ShowError(e.what());
    std::cerr << "Try 'diskspan-pack --help' for more information.\n";
    return PackUsage;
  } catch (const CodePageError& e) {
    std::cerr << "diskspan-pack: --codepage: " << e.what() << "\n";
    return PackUsage;
  } catch (const PackError& e) {
    ShowError(e.what());
    return PackFailed;
  }
}
