// FAT12 floppy images, read and written through Debian's mtools (mformat,
// mcopy, mdir): no FAT code of our own. Shared by diskspan-pack and
// diskspan-extract.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// mtools missing or not answering as expected.
class FloppyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ToolRun {
  int ExitCode = -1;
  std::string Output;  // standard output and error together
};

// Runs a program found on PATH with exactly these arguments (no shell).
// mtools run with settings of ours (MTOOLSRC names them, every MTOOLS_*
// variable of the environment is left out), so that what a user's
// ~/.mtoolsrc or environment changes cannot change what is read.
ToolRun RunTool(const std::vector<std::string>& args);

// Raises FloppyError unless mformat, mcopy and mdir are all on PATH.
void CheckMtools();

// A path as an argument that no program takes for an option: a relative
// one starts with "./".
std::string ToolPath(const std::filesystem::path& path);

// A regular file that starts with a FAT12 or FAT16 boot sector, whatever
// its name or size: what the tools take for a disk image.
bool IsDiskImage(const std::filesystem::path& path);

struct ImageFile {
  std::string Name;  // as the directory holds it, e.g. SETUP.01
  std::int64_t Size = 0;
};

// The files in the image's root directory.
std::vector<ImageFile> ListImage(const std::filesystem::path& image);

// One file of the image, whole (for a small one, such as the setup file).
std::vector<std::uint8_t> ReadImageFile(const std::filesystem::path& image, const std::string& name);

// One file of the image as a stream, block by block, straight out of mcopy.
class ImageFileReader {
 public:
  ImageFileReader(const std::filesystem::path& image, const std::string& name);
  ~ImageFileReader();
  ImageFileReader(const ImageFileReader&) = delete;
  ImageFileReader& operator=(const ImageFileReader&) = delete;

  // Up to `size` bytes; 0 at the end. Raises FloppyError when mcopy failed.
  std::size_t Read(std::uint8_t* out, std::size_t size);

 private:
  int Finish();

  std::string where_;
  pid_t child_ = -1;
  int pipe_ = -1;
};
