// A file being written that appears under its name only once complete.
// Where the file system allows, it is an unnamed file (O_TMPFILE) that no
// interruption can leave behind; elsewhere a temporary with an unguessable
// name, created exclusively without following links and removed by the
// signal handlers. Placing it never replaces a file unless asked to, and
// either way happens in one step, so no one sees half a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A temporary's name: hidden, unguessable, and unlike any name a packer
// gives a file (".diskspan-" and 16 hex digits, ".tmp").
std::filesystem::path TemporaryNameIn(const std::filesystem::path& dir);

class PendingFile {
 public:
  // Raises FileError naming `dir` when nothing can be created there.
  explicit PendingFile(const std::filesystem::path& dir);
  ~PendingFile();  // discards the file unless it was placed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void Write(std::span<const std::uint8_t> bytes);
  std::int64_t Size() const { return size_; }
  // Sets the access and modification times (seconds since the epoch).
  void SetTime(std::int64_t seconds);

  // A name other programs can read the file by while it is pending: its
  // temporary name (given it now if it has none), gone with the file unless
  // it is placed.
  const std::filesystem::path& Named();

  enum class Placed { Done, Exists };
  // Gives the file its name. Without `replace`, anything at `target` (a
  // dangling link too) is kept and Exists returned; with it, an existing
  // file is replaced in one step. Raises FileError for other failures; the
  // temporary is gone either way.
  Placed Place(const std::filesystem::path& target, bool replace);

 private:
  void NameIt();  // gives an unnamed file a temporary name
  void Close();
  void Discard();

  std::filesystem::path dir_;
  std::filesystem::path temporary_;  // empty while the file has no name
  int descriptor_ = -1;
  int slot_ = -1;
  std::int64_t size_ = 0;
};

// Moves `from` to `to` without ever replacing what is at `to`; false (and
// errno EEXIST) when something is there.
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);
// The same without renameat2 (old kernels, some file systems), which
// RenameNoReplace falls back on: a hard link, which a taken name refuses.
bool RenameNoReplaceByLink(const std::filesystem::path& from, const std::filesystem::path& to);
