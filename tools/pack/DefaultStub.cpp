#include "DefaultStub.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// The installed layout: the stub in <prefix>/share/diskspan, the packer in <prefix>/bin.
fs::path InstalledStub() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error || self.empty()) return {};
  return (self.parent_path() / ".." / "share" / "diskspan" / "diskspan-stub.exe").lexically_normal();
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

}  // namespace

fs::path DefaultStubPath() {
  const fs::path built = DISKSPAN_DEFAULT_STUB;
  for (const fs::path& candidate : {InstalledStub(), built})
    if (IsFile(candidate)) return candidate;
  return built;
}
