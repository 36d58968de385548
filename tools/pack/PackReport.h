// What diskspan-pack prints once the set is written: a table of the files
// made and a summary line, or the same as one JSON document.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "DiskSetWriter.h"
#include "InputFiles.h"

struct PackSummary {
  const PackOptions& Options;
  const std::vector<InputFile>& Files;
  const WrittenSet& Set;
};

std::string PackReportText(const PackSummary& summary);
// With --dry-run, what the set would be, and each file's disks.
std::string PackReportJson(const PackSummary& summary);

// What standard error hears of the inputs before packing, one line each:
// a warning for each date a set cannot hold (with -q, one count), and
// with -v each empty folder left out.
std::string InputNotes(const OutputChoices& output, const GatheredInputs& inputs);
