// Writes the crafted sets of tests/data/crafted: hostile or broken sets that
// no packer makes, kept as bytes so the extractor is tested against them as
// they stand. Run it only to change the corpus:
//   cmake --build --preset native --target diskspan_make_crafted_sets
//   build/native/tests/diskspan_make_crafted_sets tests/data/crafted
#include <cstdio>
#include <string>

#include "ToolTestSupport.h"
#include "base/Crc32.h"
#include "config/VerificationRecord.h"
#include "volumes/VolumeRules.h"

using namespace tooltest;

namespace {

// 255 entries over the same 4000 decoded bytes: 1 MB written from a 17 KB
// set if nothing stopped it (at the format's limits, hundreds of GB).
void Bomb(const fs::path& dir) {
  RawSet set;
  set.Decoded = MixedBytes(4000, 1);
  for (int i = 0; i < 255; ++i) set.Entries.push_back({std::string_view("COPY" + std::to_string(i)), 0, 0, 4000});
  set.WriteTo(dir);
}

// Terminal control sequences and DEL in every text, and a byte code page
// 1252 does not assign.
void Escapes(const fs::path& dir) {
  RawSet set;
  set.Decoded = MixedBytes(400, 2);
  set.Trailer.Title = "\x1b[31mRED\x1b[0m\x90\x7F";
  set.Trailer.TitleFont = "\x1b[2J";
  set.Trailer.DefaultDestDir = "C:\\\x1b]0;owned\x07";
  set.Entries = {{"\x1b]0;TITLE\x07.TXT", 0, 0, 100}, {"HOLE\x81.TXT", 0, 100, 100},
                 {"RUB\x7FOUT.TXT", 0, 200, 100}, {"GOOD.TXT", 0, 300, 100}};
  set.WriteTo(dir);
}

// Not a set: the start of an executable of another kind, and noise.
void Foreign(const fs::path& dir) {
  Bytes file = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0};
  const Bytes noise = RandomBytes(4088, 3);
  file.insert(file.end(), noise.begin(), noise.end());
  fs::create_directories(dir);
  Spill(dir / "SETUP.EXE", file);
}

// Entries named like the temporaries extractors use, beside a plain one.
void TemporaryNames(const fs::path& dir) {
  RawSet set;
  set.Decoded = MixedBytes(400, 4);
  set.Entries = {{".diskspan-0123456789abcdef.tmp", 0, 0, 100}, {".diskspan-4242-0.partial", 0, 100, 100},
                 {".diskspan-4242-1.partial", 0, 200, 100}, {"A.TXT", 0, 300, 100}};
  set.WriteTo(dir);
}

// Volume 2 twice, under names that differ only in case, with other bytes.
void CaseTwins(const fs::path& dir) {
  RawSet set;
  set.Decoded = RandomBytes(3000, 5);
  set.VolumeSize = 1200;
  set.Entries = {{"DATA.BIN", 0, 0, 3000}};
  set.WriteTo(dir);
  fs::rename(dir / "SETUP.02", dir / "Setup.02");
  Bytes other = Slurp(dir / "Setup.02");
  other[0] ^= 0xFF;
  Spill(dir / "setup.02", other);
}

// A set of three text files with a version 2 record, as the packer writes them.
RawSet RecordedSet(std::uint16_t version) {
  RawSet set;
  set.Decoded = MixedBytes(3000, 6);
  set.VolumeSize = 700;
  set.Trailer.Title = "Tools";
  set.Entries = {{"README.TXT", 0, 0, 1000}, {"TOOL.EXE", 0, 1000, 1000}, {"NOTES.TXT", 0, 2000, 1000}};
  set.RecordVersion = version;
  set.CodePage = 1252;
  return set;
}

// One bit of volume 1's CRC in the record flipped: the record fails its own CRC.
void RecordCrc(const fs::path& dir) {
  RecordedSet(2).WriteTo(dir);
  Bytes setup = Slurp(dir / "SETUP.EXE");
  setup[1000 + VerificationHeaderSize(2)] ^= 0x01;
  Spill(dir / "SETUP.EXE", setup);
}

// Version 3 of a record whose own CRC is right: a later packer's, unknown.
void LaterRecord(const fs::path& dir) {
  RecordedSet(2).WriteTo(dir);
  Bytes setup = Slurp(dir / "SETUP.EXE");
  const std::size_t footer = setup.size() - ConfigTrailerSize - 3 * FileEntrySize - VerificationFooterSize;
  const std::size_t size = setup[footer] | setup[footer + 1] << 8;  // the record's, from its footer
  setup[1000 + 8] = 3;
  const std::uint32_t crc = UpdateCrc32(0, setup.data() + 1000, size - 4);
  for (int i = 0; i < 4; ++i) setup[1000 + size - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  Spill(dir / "SETUP.EXE", setup);
}

// A version 1 set whose table lost its last entry: the record counts one file more.
void DroppedEntry(const fs::path& dir) {
  RecordedSet(1).WriteTo(dir);
  Bytes setup = Slurp(dir / "SETUP.EXE");
  const std::size_t trailer = setup.size() - ConfigTrailerSize;
  setup.erase(setup.begin() + static_cast<std::ptrdiff_t>(trailer - FileEntrySize),
               setup.begin() + static_cast<std::ptrdiff_t>(trailer));
  setup[setup.size() - ConfigTrailerSize] = 2;  // FileCount
  Spill(dir / "SETUP.EXE", setup);
}

// A version 2 set whose TOOL.EXE was renamed AUTOEXEC.BAT, made the file to
// start, and whose title changed: every CRC but the block's still holds.
void ChangedTable(const fs::path& dir) {
  RecordedSet(2).WriteTo(dir);
  Bytes setup = Slurp(dir / "SETUP.EXE");
  const std::size_t trailer = setup.size() - ConfigTrailerSize;
  const auto entry = EncodeFileEntry({"AUTOEXEC.BAT", 0, 1000, 1000});
  std::copy(entry.begin(), entry.end(), setup.begin() + static_cast<std::ptrdiff_t>(trailer - 2 * FileEntrySize));
  ConfigTrailer t = DecodeTrailer(std::span(setup).last<ConfigTrailerSize>());
  t.LaunchIndex = 2;
  t.Title = "Urgent update";
  const auto changed = EncodeTrailer(t);
  std::copy(changed.begin(), changed.end(), setup.begin() + static_cast<std::ptrdiff_t>(trailer));
  Spill(dir / "SETUP.EXE", setup);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  Bomb(root / "bomb");
  Escapes(root / "escapes");
  Foreign(root / "foreign");
  TemporaryNames(root / "temporary-names");
  CaseTwins(root / "case-twins");
  RecordedSet(1).WriteTo(root / "record-v1");  // before the file table and trailer were covered
  RecordedSet(2).WriteTo(root / "record-v2");
  RecordCrc(root / "record-crc");
  LaterRecord(root / "record-v3");
  DroppedEntry(root / "dropped-entry");
  ChangedTable(root / "changed-table");
  return 0;
}
