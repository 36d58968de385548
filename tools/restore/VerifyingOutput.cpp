#include "VerifyingOutput.h"

#include "Checksums.h"
#include "EntryNames.h"

VerifyingOutput::VerifyingOutput(const SetInfo& set, EntryOutput& inner, std::vector<std::string>& problems,
                                 std::map<std::size_t, std::string>& verdicts)
    : set_(set), inner_(inner), problems_(problems), verdicts_(verdicts) {}

void VerifyingOutput::Begin(std::size_t index, const FileEntry& entry) {
  crcs_[index] = 0;
  inner_.Begin(index, entry);
}

void VerifyingOutput::Write(std::size_t index, std::span<const std::uint8_t> bytes) {
  if (set_.Record) crcs_.at(index) = ExtendCrc32(crcs_.at(index), bytes);
  inner_.Write(index, bytes);
}

void VerifyingOutput::End(std::size_t index, const FileEntry& entry) {
  const std::uint32_t crc = crcs_.at(index);
  crcs_.erase(index);
  if (!set_.Record || crc == set_.Record->FileCrc[index]) {
    verdicts_[index] = set_.Record ? "OK" : "decoded whole (the set carries no CRC-32 to check it against)";
    return inner_.End(index, entry);
  }
  problems_.push_back(ShownPath(entry.Name, set_.Texts) + " is damaged (CRC mismatch)");
  verdicts_[index] = "damaged (CRC mismatch)";
  inner_.Discard(index, entry);
}

void VerifyingOutput::Discard(std::size_t index, const FileEntry& entry) {
  crcs_.erase(index);
  inner_.Discard(index, entry);
}
