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

using namespace tooltest;

namespace {

// A set of three text files with a record of `version`, as the packer writes them.
RawSet RecordedSet(std::uint16_t version) {
  RawSet set{.Entries = {{"README.TXT", 0, 0, 1000}, {"TOOL.EXE", 0, 1000, 1000}, {"NOTES.TXT", 0, 2000, 1000}},
             .Decoded = MixedBytes(3000, 6), .VolumeSize = 700, .RecordVersion = version, .CodePage = 1252};
  set.Trailer.Title = "Tools";
  return set;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  // 255 entries over the same 4000 decoded bytes: 1 MB written from a 17 KB
  // set if nothing stopped it (at the format's limits, hundreds of GB).
  RawSet bomb{.Decoded = MixedBytes(4000, 1)};
  for (int i = 0; i < 255; ++i) bomb.Entries.push_back({std::string_view("COPY" + std::to_string(i)), 0, 0, 4000});
  bomb.WriteTo(root / "bomb");

  // Terminal control sequences and DEL in every text, and a byte code page
  // 1252 does not assign.
  RawSet escapes{.Entries = {{"\x1b]0;TITLE\x07.TXT", 0, 0, 100}, {"HOLE\x81.TXT", 0, 100, 100},
                             {"RUB\x7FOUT.TXT", 0, 200, 100}, {"GOOD.TXT", 0, 300, 100}},
                 .Decoded = MixedBytes(400, 2)};
  escapes.Trailer.Title = "\x1b[31mRED\x1b[0m\x90\x7F", escapes.Trailer.TitleFont = "\x1b[2J";
  escapes.Trailer.DefaultDestDir = "C:\\\x1b]0;owned\x07";
  escapes.WriteTo(root / "escapes");

  // Not a set: the start of an executable of another kind, and noise.
  Bytes foreign = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0};
  const Bytes noise = RandomBytes(4088, 3);
  foreign.insert(foreign.end(), noise.begin(), noise.end());
  fs::create_directories(root / "foreign");
  Spill(root / "foreign" / "SETUP.EXE", foreign);

  // Entries named like the temporaries extractors use, beside a plain one.
  RawSet{.Entries = {{".diskspan-0123456789abcdef.tmp", 0, 0, 100}, {".diskspan-4242-0.partial", 0, 100, 100},
                     {".diskspan-4242-1.partial", 0, 200, 100}, {"A.TXT", 0, 300, 100}},
         .Decoded = MixedBytes(400, 4)}
      .WriteTo(root / "temporary-names");

  // Volume 2 twice, under names that differ only in case, with other bytes.
  const fs::path twins = root / "case-twins";
  RawSet{.Entries = {{"DATA.BIN", 0, 0, 3000}}, .Decoded = RandomBytes(3000, 5), .VolumeSize = 1200}.WriteTo(twins);
  fs::rename(twins / "SETUP.02", twins / "Setup.02");
  fs::copy_file(twins / "Setup.02", twins / "setup.02");
  Patch(twins / "setup.02", [](Bytes& volume) { volume[0] ^= 0xFF; });

  RecordedSet(1).WriteTo(root / "record-v1");  // before the file table and trailer were covered
  RecordedSet(2).WriteTo(root / "record-v2");

  // One bit of volume 1's CRC in the record flipped: the record fails its own CRC.
  RecordedSet(2).WriteTo(root / "record-crc");
  Patch(root / "record-crc" / "SETUP.EXE", [](Bytes& setup) { setup[1000 + VerificationHeaderSize(2)] ^= 0x01; });

  // Version 3 of a record whose own CRC is right: a later packer's, unknown.
  RecordedSet(2).WriteTo(root / "record-v3");
  Patch(root / "record-v3" / "SETUP.EXE", [](Bytes& setup) {
    const std::size_t footer = setup.size() - ConfigTrailerSize - 3 * FileEntrySize - VerificationFooterSize;
    const std::size_t size = setup[footer] | setup[footer + 1] << 8;  // the record's, from its footer
    setup[1000 + 8] = 3;
    const std::uint32_t crc = UpdateCrc32(0, setup.data() + 1000, size - 4);
    for (int i = 0; i < 4; ++i) setup[1000 + size - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  });

  // A version 1 set whose table lost its last entry: the record counts one file more.
  RecordedSet(1).WriteTo(root / "dropped-entry");
  Patch(root / "dropped-entry" / "SETUP.EXE", [](Bytes& setup) {
    const auto trailer = setup.end() - ConfigTrailerSize;
    setup.erase(trailer - FileEntrySize, trailer);
    setup[setup.size() - ConfigTrailerSize] = 2;  // FileCount
  });

  // A version 2 set whose TOOL.EXE was renamed AUTOEXEC.BAT, made the file to
  // start, and whose title changed: every CRC but the block's still holds.
  RecordedSet(2).WriteTo(root / "changed-table");
  Patch(root / "changed-table" / "SETUP.EXE", [](Bytes& setup) {
    const auto trailer = setup.end() - ConfigTrailerSize;
    const auto entry = EncodeFileEntry({"AUTOEXEC.BAT", 0, 1000, 1000});
    std::copy(entry.begin(), entry.end(), trailer - 2 * FileEntrySize);
    ConfigTrailer t = DecodeTrailer(std::span(setup).last<ConfigTrailerSize>());
    t.LaunchIndex = 2, t.Title = "Urgent update";
    const auto changed = EncodeTrailer(t);
    std::copy(changed.begin(), changed.end(), trailer);
  });
  return 0;
}
