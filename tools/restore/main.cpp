// diskspan-extract: lists, tests and restores a disk set on any machine,
// without Windows.
#include <clocale>
#include <iostream>

#include "CommandLine.h"
#include "ExtractError.h"
#include "ExtractOptions.h"
#include "ExtractRun.h"
#include "FloppyImage.h"
#include "PendingFile.h"

namespace {

void Warn(const std::string& message) { std::cerr << "diskspan-extract: " << message << "\n"; }

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "C.UTF-8");  // patterns ignore case beyond ASCII too
  CLI::App app(ExtractDescription, "diskspan-extract");
  ExtractRequest request;
  AddExtractOptions(app, request);
  try {
    if (const auto exit = ParseCommandLine(app, SpreadVolumesOptions(argc, argv, request.AfterOptions))) return *exit;
    ResolveArguments(request);
    return RunExtract(request);
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
