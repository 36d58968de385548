// The memory and string functions that the compiler may call on its own
// (for struct copies, zeroed arrays, string_view comparisons), written for
// the stub, which links no C runtime. Byte loops: the stub moves at most a
// 2 KB block at a time, and small code matters more on a floppy than speed.
//
// This file is compiled with -fno-builtin and without loop-to-call
// rewriting (src/CMakeLists.txt), so none of these loops becomes a call to
// the function it is in.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, std::size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  while (count--) *out++ = *in++;
  return to;
}

void* memmove(void* to, const void* from, std::size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  if (out <= in || out >= in + count) return memcpy(to, from, count);
  // Overlapping with the source before the target: copy from the end.
  while (count--) out[count] = in[count];
  return to;
}

void* memset(void* to, int value, std::size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  while (count--) *out++ = static_cast<unsigned char>(value);
  return to;
}

int memcmp(const void* a, const void* b, std::size_t count) {
  const auto* left = static_cast<const unsigned char*>(a);
  const auto* right = static_cast<const unsigned char*>(b);
  for (; count; --count, ++left, ++right)
    if (*left != *right) return *left < *right ? -1 : 1;
  return 0;
}

void* memchr(const void* where, int value, std::size_t count) {
  const auto* bytes = static_cast<const unsigned char*>(where);
  for (; count; --count, ++bytes)
    if (*bytes == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(bytes);
  return nullptr;
}

std::size_t strlen(const char* text) {
  std::size_t length = 0;
  while (text[length]) ++length;
  return length;
}

}  // extern "C"
