#include "base/State.h"

// Every variable is initialised at compile time (constinit), so the stub
// needs no start-up code to set them.

constinit Path SourceDir;
constinit Path ProgramName;
constinit std::int32_t ScreenWidth = 0;
constinit std::int32_t ScreenHeight = 0;
constinit std::uint8_t* InBuffer = nullptr;
constinit std::uint8_t* OutBuffer = nullptr;
constinit ReadChunkFn DecoderRead = nullptr;
constinit WriteChunkFn DecoderWrite = nullptr;
constinit HWND__* BackgroundWindow = nullptr;

constinit Configuration Config;
constinit MessageTableTexts MessageTable;
constinit FileRecord* FileTable = nullptr;

constinit Path DestDir;

constinit std::int32_t StageActive = 1;
constinit std::uint8_t Aborted = 0;
constinit std::uint8_t SplitCreated = 0;
constinit std::uint8_t CompressCreated = 0;
constinit std::int32_t SkippedFileCount = 0;
constinit Failure RunFailure;

constinit GaugeBar CurrentGauge;
constinit std::int32_t LastPercent = 0;
constinit std::int32_t WrittenTotal = 0;

constinit std::uint32_t VolumeCrc[MaxVolumeCrcs] = {};
constinit std::int32_t VerifiedVolumeCount = 0;
