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
std::string PackReportJson(const PackSummary& summary);
