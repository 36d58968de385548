// The stub links no C runtime: its memory comes from the process heap,
// which every Win32 version has.
#include <windows.h>

#include "base/Memory.h"

void* AllocateMemory(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void ReleaseMemory(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}
