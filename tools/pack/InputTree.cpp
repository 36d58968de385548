#include "InputTree.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "FileIdentity.h"

namespace fs = std::filesystem;

namespace {

std::string Reason(int error) {
  return error == ENOENT ? "no such file" : "cannot read: " + std::string(std::strerror(error));
}

// Why `path` cannot be looked at, with `info` filled when it can.
std::optional<std::string> StatProblem(const fs::path& path, struct stat& info) {
  if (::stat(path.c_str(), &info) == 0) return std::nullopt;
  const int error = errno;
  struct stat link {};
  if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    std::error_code ignored;
    return "a link to nothing (" + fs::read_symlink(path, ignored).string() + ")";
  }
  return Reason(error);
}

const char* KindOf(mode_t mode) {
  return S_ISFIFO(mode) ? "a FIFO" : S_ISCHR(mode) ? "a character device" : S_ISBLK(mode) ? "a block device"
       : S_ISSOCK(mode) ? "a socket" : "of another kind";
}

// The names in a folder but . and .., sorted; nothing when it cannot be read.
std::optional<std::vector<std::string>> FolderNames(const fs::path& dir) {
  const std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), ::closedir);
  if (!handle) return std::nullopt;
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(handle.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  if (errno != 0) return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

class Walker {
 public:
  explicit Walker(FoundInputs& out) : out_(out) {}

  // `place` is the file's place in the set; for a source named by the user,
  // the folder it goes in when `addOwnName`.
  void Take(const fs::path& path, std::vector<std::string>& place, bool addOwnName) {
    struct stat info {};
    if (const auto problem = StatProblem(path, info)) return Problem(path, *problem);
    if (S_ISDIR(info.st_mode)) return Folder(path, place, info);
    if (!S_ISREG(info.st_mode)) return Problem(path, std::string("not a regular file (") + KindOf(info.st_mode) + ")");
    if (addOwnName) place.push_back(path.filename().string());
    if (::access(path.c_str(), R_OK) != 0) return Problem(path, Reason(errno));
    out_.Files.push_back({path, place, static_cast<std::int64_t>(info.st_size), info.st_mtime});
  }

 private:
  void Folder(const fs::path& dir, std::vector<std::string>& place, const struct stat& info) {
    const FileIdentity identity{info.st_dev, info.st_ino};
    if (std::find(ancestors_.begin(), ancestors_.end(), identity) != ancestors_.end())
      return Problem(dir, "a link back to a folder it lies in (a loop); not followed");
    const auto names = FolderNames(dir);
    if (!names) return Problem(dir, "cannot read the folder: " + std::string(std::strerror(errno)));
    const std::size_t files = out_.Files.size(), problems = out_.Problems.size();
    ancestors_.push_back(identity);
    for (const std::string& name : *names) {
      place.push_back(name);
      Take(dir / name, place, false);
      place.pop_back();
    }
    ancestors_.pop_back();
    if (out_.Files.size() == files && out_.Problems.size() == problems) out_.EmptyFolders.push_back(dir);
  }

  void Problem(const fs::path& path, const std::string& why) { out_.Problems.push_back(path.string() + ": " + why); }

  FoundInputs& out_;
  std::vector<FileIdentity> ancestors_;  // the folders the walk is inside
};

}  // namespace

FoundInputs FindInputFiles(const std::vector<InputSource>& sources) {
  FoundInputs found;
  Walker walker(found);
  for (const InputSource& source : sources) {
    std::vector<std::string> place = source.Place;
    walker.Take(source.Path, place, place.empty() || source.IntoFolder);
  }
  return found;
}
