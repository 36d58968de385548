#include "CommandLine.h"

#include <algorithm>
#include <iostream>

std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv) {
  return ParseCommandLine(app, std::vector<std::string>(argv + 1, argv + argc));
}

namespace {

// Help without the "Needs:" and "Excludes:" lists CLI11 appends to options:
// each option's text says what it goes with, and the man pages are made
// from this help.
class PlainFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* option) const override {
    std::string opts = CLI::Formatter::make_option_opts(option);
    for (const char* list : {" Needs:", " Excludes:"})
      if (const auto at = opts.find(list); at != std::string::npos) opts.erase(at);
    return opts;
  }
};

}  // namespace

std::optional<int> ParseCommandLine(CLI::App& app, std::vector<std::string> args) {
  app.formatter(std::make_shared<PlainFormatter>());
  try {
    std::reverse(args.begin(), args.end());  // CLI11 takes them last first
    app.parse(args);
    return std::nullopt;
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << app.get_name() << ": " << e.what() << "\n"
              << "Try '" << app.get_name() << " --help' for more information.\n";
    return 2;
  }
}

void AddOutputOptions(CLI::App& app, OutputChoices& c, const std::string& verboseHelp) {
  auto* noProgress = app.add_flag_callback("--no-progress", [&c] { c.Progress = false; },
                                           "No progress line on standard error");
  app.add_flag("--progress", c.ForceProgress, "A progress line even when standard error is not a terminal")
      ->excludes(noProgress);
  auto* quiet = app.add_flag("-q,--quiet", c.Quiet, "Print only errors");
  app.add_flag("-v,--verbose", c.Verbose, verboseHelp)->excludes(quiet);
}

std::string Counted(std::int64_t count, const std::string& singular) {
  return std::to_string(count) + " " + singular + (count == 1 ? "" : "s");
}
