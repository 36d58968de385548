// Where the process starts. The stub links no C runtime (Windows 95 ships
// none, and its start-up code is most of what it would cost), so this does
// the little that runtime's start-up did for us, then runs WinMain and ends
// the process with its exit code.
#include <windows.h>

#include <cstddef>

namespace {

using Constructor = void (*)();

// The linker's list of static constructors: a -1 marker, the constructors,
// a null end. The stub's state is initialised at compile time, so the list
// is normally empty; whatever is there runs last to first, as the runtime
// would run it.
extern "C" Constructor __CTOR_LIST__[];

void RunStaticConstructors() {
  std::size_t count = 0;
  while (__CTOR_LIST__[count + 1]) ++count;
  for (std::size_t k = count; k > 0; --k) __CTOR_LIST__[k]();
}

}  // namespace

extern "C" void StubEntry() {
  // The gauge rounds with the x87's 64-bit significand; Windows starts a
  // thread with 53 bits. FNINIT sets 64 bits, round to nearest, every
  // exception masked: what the runtime set before.
  asm volatile("fninit");
  RunStaticConstructors();
  ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(),
                                         SW_SHOWDEFAULT)));
}
