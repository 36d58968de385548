#include "lzh/lzh.h"

#include "base/Failure.h"
#include "base/Memory.h"
#include "lzh/LzhDecoder.h"

namespace {

struct CallbackSource {
  ReadChunkFn read;
  std::uint8_t operator()() const {
    std::uint8_t byte = 0;
    std::uint16_t delivered = 0;
    read(&byte, 1, delivered);
    return delivered == 1 ? byte : 0;
  }
};

struct CallbackSink {
  WriteChunkFn write;
  void operator()(std::uint8_t byte) const {
    std::uint16_t accepted = 0;
    write(&byte, 1, accepted);
  }
};

// Releases the tables on every way out, also when a tool's callback raises.
struct TablesHolder {
  lzh::DecoderTables* Tables;
  ~TablesHolder() { ReleaseMemory(Tables); }
};

// The callbacks may clear the flag, so it is read again every time.
struct FlagTest {
  const std::int32_t* flag;
  bool operator()() const { return *flag != 0; }
};

}  // namespace

bool LzhDecode(std::int32_t outputSize, ReadChunkFn read, WriteChunkFn write,
               const std::int32_t* mayGoOn) {
  // The tables are trivially constructible, so the memory is used as it
  // comes; no memory is a failure the caller hears of, not an exception.
  const TablesHolder held{
      static_cast<lzh::DecoderTables*>(AllocateMemory(sizeof(lzh::DecoderTables)))};
  if (!held.Tables) return Fail(LzhNoMemoryMessage, "");
  CallbackSource source{read};
  CallbackSink sink{write};
  FlagTest active{mayGoOn};
  lzh::DecodeWith(*held.Tables, outputSize, source, sink, active);
  return true;
}
