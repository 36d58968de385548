#include "lzh/lzh.h"

#include <memory>
#include <new>

#include "driver/StageActive.h"
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

struct StageFlag {
  bool operator()() const { return StageActive != 0; }
};

}  // namespace

void LzhDecode(std::int32_t outputSize, ReadChunkFn read, WriteChunkFn write) {
  // Released on every path, also when a callback raises.
  std::unique_ptr<lzh::DecoderTables> tables(new (std::nothrow) lzh::DecoderTables);
  if (!tables) throw ElzhException(LzhNoMemoryMessage);
  CallbackSource source{read};
  CallbackSink sink{write};
  StageFlag active;
  lzh::DecodeWith(*tables, outputSize, source, sink, active);
}
