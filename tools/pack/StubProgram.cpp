#include "StubProgram.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "FileIdentity.h"
#include "PackOptions.h"
#include "WindowsProgram.h"
#include "config/ConfigBlock.h"
#include "config/VerificationRecord.h"

namespace {

constexpr std::size_t HeadSize = 64 * 1024;  // room for any PE headers worth the name
constexpr std::size_t TailSize = LargestVerificationRecord + 255 * FileEntrySize + ConfigTrailerSize;

std::vector<std::uint8_t> ReadPart(const std::filesystem::path& path, std::int64_t from, std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::ifstream in(path, std::ios::binary);
  in.seekg(from);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    throw PackError("--stub " + path.string() + ": cannot read it");
  return bytes;
}

}  // namespace

bool EndsInSetBlock(std::span<const std::uint8_t> tail, std::int64_t afterImage) {
  if (afterImage < std::int64_t{ConfigTrailerSize} || tail.size() < ConfigTrailerSize) return false;
  const std::size_t block = tail[tail.size() - ConfigTrailerSize] * FileEntrySize + ConfigTrailerSize;
  if (afterImage == static_cast<std::int64_t>(block)) return true;
  if (tail.size() < block + VerificationFooterSize) return false;
  const std::size_t record = VerificationRecordSizeFromFooter(
      tail.subspan(tail.size() - block - VerificationFooterSize).first<VerificationFooterSize>());
  return record != 0 && afterImage == static_cast<std::int64_t>(record + block);
}

std::int64_t CheckStubProgram(const std::filesystem::path& stub) {
  if (const auto problem = RegularFileProblem(stub))
    throw PackError("--stub " + stub.string() + ": " + *problem +
                    (*problem == "no such file" ? " (build the stub with the win32 preset, or name one)" : ""));
  std::error_code error;
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(stub, error));
  if (error) throw PackError("--stub " + stub.string() + ": " + error.message());
  std::int64_t imageEnd = 0;
  const auto head = ReadPart(stub, 0, static_cast<std::size_t>(std::min<std::int64_t>(size, HeadSize)));
  if (const auto problem = NotAWindowsProgram(head, size, imageEnd))
    throw UsageError("--stub " + stub.string() + ": " + *problem + "; name the installer stub (diskspan-stub.exe)");
  const auto tailSize = static_cast<std::size_t>(std::min<std::int64_t>(size, TailSize));
  if (imageEnd < size && EndsInSetBlock(ReadPart(stub, size - static_cast<std::int64_t>(tailSize), tailSize),
                                        size - imageEnd))
    throw UsageError("--stub " + stub.string() + ": already carries a set's block (it is a set's setup file); " +
                     "name the bare stub it was made from (diskspan-stub.exe)");
  return size;
}
