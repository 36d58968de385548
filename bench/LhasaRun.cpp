#include "LhasaRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "LhaArchive.h"
#include "Stopwatch.h"

extern char** environ;

namespace bench {
namespace {

// Runs `lhasa pq archive` with its output on /dev/null and waits for it.
void RunLhasaQuietly(const std::string& archive) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("lhasa"), const_cast<char*>("pq"),
                  const_cast<char*>(archive.c_str()), nullptr};
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, "lhasa", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    throw std::runtime_error("lhasa pq failed");
  }
}

}  // namespace

LhasaArchiveFile::LhasaArchiveFile(const std::vector<std::uint8_t>& original,
                                   const std::vector<std::uint8_t>& coded)
    : path_((std::filesystem::temp_directory_path() /
             ("diskspan-bench-" + std::to_string(::getpid()) + ".lzh"))
                .string()) {
  const auto archive = lzhtest::LhaLevel0Archive("CORPUS.BIN", original, coded);
  std::ofstream(path_, std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

LhasaArchiveFile::~LhasaArchiveFile() { std::filesystem::remove(path_); }

bool LhasaInstalled() { return std::system("command -v lhasa >/dev/null 2>&1") == 0; }

std::vector<std::uint8_t> LhasaPrint(const std::string& archive) {
  std::vector<std::uint8_t> out;
  FILE* pipe = ::popen(("lhasa pq " + archive).c_str(), "r");
  if (!pipe) return out;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    out.insert(out.end(), buffer, buffer + n);
  }
  ::pclose(pipe);
  return out;
}

double TimeLhasa(const std::string& archive, int runs) {
  return BestSeconds(runs, [&] { RunLhasaQuietly(archive); });
}

}  // namespace bench
