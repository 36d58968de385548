#include "base/State.h"

Path SourceDir;
Path ProgramName;
std::int32_t ScreenWidth = 0;
std::int32_t ScreenHeight = 0;
std::uint8_t* InBuffer = nullptr;
std::uint8_t* OutBuffer = nullptr;
ReadChunkFn DecoderRead = nullptr;
WriteChunkFn DecoderWrite = nullptr;
HWND__* BackgroundWindow = nullptr;

Configuration Config;
MessageTableTexts MessageTable;
FileRecord* FileTable = nullptr;

Path DestDir;

std::int32_t StageActive = 1;
std::uint8_t Aborted = 0;
Failure RunFailure;

GaugeBar CurrentGauge;
std::int32_t LastPercent = 0;
std::int32_t WrittenTotal = 0;

std::uint32_t VolumeCrc[MaxVolumeCrcs] = {};
std::int32_t VerifiedVolumeCount = 0;
