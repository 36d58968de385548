// Writes the crafted sets of tests/data/crafted: hostile or broken sets that
// no packer makes, kept as bytes so the extractor is tested against them as
// they stand. Run it only to change the corpus:
//   cmake --build --preset native --target diskspan_make_crafted_sets
//   build/native/tests/diskspan_make_crafted_sets tests/data/crafted
#include <cstdio>
#include <string>

#include "ToolTestSupport.h"
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

// Terminal control sequences in every text, and a byte code page 1252 does
// not assign.
void Escapes(const fs::path& dir) {
  RawSet set;
  set.Decoded = MixedBytes(300, 2);
  set.Trailer.Title = "\x1b[31mRED\x1b[0m\x90";
  set.Trailer.TitleFont = "\x1b[2J";
  set.Trailer.DefaultDestDir = "C:\\\x1b]0;owned\x07";
  set.Entries = {{"\x1b]0;TITLE\x07.TXT", 0, 0, 100}, {"HOLE\x81.TXT", 0, 100, 100}, {"GOOD.TXT", 0, 200, 100}};
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
  set.Entries = {{".diskspan-0123456789abcdef.tmp", 0, 0, 100},
                 {".diskspan-4242-0.partial", 0, 100, 100},
                 {".diskspan-4242-1.partial", 0, 200, 100},
                 {"A.TXT", 0, 300, 100}};
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
  return 0;
}
