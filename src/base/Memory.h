// Memory for the few blocks the stub allocates: the decoder's chunk buffers
// and tables, and the file table's records. The stub takes it from the
// process heap (base/win32/ProcessHeap.cpp); the portable build, which the
// tools and the native tests use, from the C library (base/Memory.cpp).
#pragma once

#include <cstddef>

// A block of `size` bytes, or null when there is no memory left.
void* AllocateMemory(std::size_t size);

// Gives a block back; null is allowed.
void ReleaseMemory(void* block);
