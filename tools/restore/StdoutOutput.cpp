#include "StdoutOutput.h"

#include "ExtractError.h"

StdoutOutput::StdoutOutput(const std::vector<bool>& selected, std::FILE* out) : out_(out) {
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) due_.insert(i);
}

void StdoutOutput::Begin(std::size_t index, const FileEntry&) {
  Held file(std::tmpfile());
  if (!file) throw ExtractError("cannot hold a file for standard output: no temporary file can be made");
  open_[index] = std::move(file);
}

void StdoutOutput::Write(std::size_t index, std::span<const std::uint8_t> bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), open_.at(index).get()) != bytes.size())
    throw ExtractError("cannot hold a file for standard output: its temporary cannot be written");
}

void StdoutOutput::End(std::size_t index, const FileEntry&) {
  whole_[index] = std::move(open_.at(index));
  open_.erase(index);
  Flush(false);
}

void StdoutOutput::Discard(std::size_t index, const FileEntry&) {
  open_.erase(index);
  due_.erase(index);
  Flush(false);
}

void StdoutOutput::Finish() {
  open_.clear();
  Flush(true);
  if (std::fflush(out_) != 0) throw ExtractError("standard output: cannot write");
}

// Writes the whole files from the first due on, up to one that may still
// come (unless `all`: then no more will).
void StdoutOutput::Flush(bool all) {
  for (auto it = due_.begin(); it != due_.end(); it = due_.erase(it)) {
    const auto held = whole_.find(*it);
    if (held == whole_.end()) {
      if (all) continue;
      return;
    }
    Copy(held->second.get());
    whole_.erase(held);
    ++written_;
  }
}

void StdoutOutput::Copy(std::FILE* from) {
  std::rewind(from);
  char block[64 * 1024];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, from)) > 0;)
    if (std::fwrite(block, 1, n, out_) != n) throw ExtractError("standard output: cannot write");
}
