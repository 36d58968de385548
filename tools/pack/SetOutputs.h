// What the output directory already holds of a set of the name being
// written (SetFileNames, in any case): what --force must replace or remove,
// what stops a run without it, and inputs that are the set's own files.
#pragma once

#include <filesystem>
#include <vector>

#include "InputFiles.h"
#include "PackOptions.h"
#include "SetFileNames.h"

struct ExistingSetFile {
  std::filesystem::path Path;
  SetFileName Name;
  bool IsFile = false;  // a regular file or a link, which --force may replace
};

// The entries of the output directory that bear one of the set's names.
std::vector<ExistingSetFile> ExistingSetFiles(const PackOptions& options);

// Raises PackError when the directory holds any file of a set of this name
// and --force was not given, or when something that is not a file sits
// where one of `targets` (the files the set writes) would go.
void CheckOutputsReplaceable(const PackOptions& options, const std::vector<std::filesystem::path>& targets);

// With --force: the files of an earlier set that the new one does not
// replace (volumes past its last disk, disk images it does not make, names
// that differ from its own only in case), to be removed with the commit.
std::vector<std::filesystem::path> StaleSetFiles(const PackOptions& options,
                                                 const std::vector<std::filesystem::path>& targets);

// Raises PackError naming the first input that is a file of the set about
// to be written: one bearing a set's name in the output directory, or the
// very file one such name leads to.
void CheckInputsOutsideSet(const PackOptions& options, const std::vector<InputFile>& files);
