#include "SetOutputs.h"

#include <sys/stat.h>

#include <algorithm>

#include "FileIdentity.h"

namespace fs = std::filesystem;

namespace {

bool IsTarget(const fs::path& path, const std::vector<fs::path>& targets) {
  return std::any_of(targets.begin(), targets.end(),
                     [&](const fs::path& t) { return t.filename() == path.filename(); });
}

[[noreturn]] void RefuseInput(const PackOptions& options, const fs::path& input, const SetFileName& name) {
  throw PackError(input.string() + " is " + Described(name) + " of the set being written to " +
                  options.OutputDir.string() + ": it would be packed into the set that replaces it; leave it out");
}

}  // namespace

std::vector<ExistingSetFile> ExistingSetFiles(const PackOptions& options) {
  std::vector<ExistingSetFile> found;
  std::error_code error;
  for (fs::directory_iterator entry(options.OutputDir, error), end; !error && entry != end; entry.increment(error)) {
    const auto name = ClassifySetFileName(entry->path().filename().string(), options.Name);
    if (!name) continue;
    struct stat info {};
    const bool isFile = ::lstat(entry->path().c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode));
    found.push_back({entry->path(), *name, isFile});
  }
  return found;
}

void CheckOutputsReplaceable(const PackOptions& options, const std::vector<fs::path>& targets) {
  for (const ExistingSetFile& existing : ExistingSetFiles(options)) {
    if (!options.Force) throw PackError(existing.Path.string() + ": already exists (use --force to replace it)");
    if (!existing.IsFile && IsTarget(existing.Path, targets))
      throw PackError(existing.Path.string() + ": exists and is not a file; not replaced");
  }
}

std::vector<fs::path> StaleSetFiles(const PackOptions& options, const std::vector<fs::path>& targets) {
  std::vector<fs::path> stale;
  for (const ExistingSetFile& existing : ExistingSetFiles(options))
    if (existing.IsFile && !IsTarget(existing.Path, targets)) stale.push_back(existing.Path);
  std::sort(stale.begin(), stale.end());
  return stale;
}

void CheckInputsOutsideSet(const PackOptions& options, const std::vector<InputFile>& files) {
  const auto directory = IdentityOf(options.OutputDir);
  if (!directory) return;  // no directory yet: no set file there either
  const std::vector<ExistingSetFile> existing = ExistingSetFiles(options);
  for (const InputFile& file : files) {
    const fs::path parent = file.Source.has_parent_path() ? file.Source.parent_path() : fs::path(".");
    const auto name = ClassifySetFileName(file.Source.filename().string(), options.Name);
    if (name && IdentityOf(parent) == directory) RefuseInput(options, file.Source, *name);
    const auto identity = IdentityOf(file.Source);
    for (const ExistingSetFile& e : existing)
      if (identity && IdentityOf(e.Path) == identity) RefuseInput(options, file.Source, e.Name);
  }
}
