#include "base/Memory.h"

#include <cstdlib>

void* AllocateMemory(std::size_t size) { return std::malloc(size); }

void ReleaseMemory(void* block) { std::free(block); }
