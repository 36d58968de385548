// diskspan-pack's options, their help and its exit codes.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "PackOptions.h"

enum PackExitCode { PackSuccess = 0, PackFailed = 1, PackUsage = 2 };

extern const char* const PackDescription;

// Option values CLI11 cannot convert by itself, kept as given.
struct RawPackValues {
  std::string VolumeSize = "1.44M";
  std::string Style = "bold,italic";
  std::string Colours[3];
  std::string CodePage = "1252";
};

void AddPackOptions(CLI::App& app, PackOptions& options, RawPackValues& raw);

// Converts the raw values into `options`; raises UsageError naming the
// option (CodePageError for --codepage).
void ApplyPackValues(PackOptions& options, const RawPackValues& raw);
