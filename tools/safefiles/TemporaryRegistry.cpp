#include "TemporaryRegistry.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace temporaries {
namespace {

constexpr int SlotCount = 1024;
constexpr int PathCapacity = 4096;
constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A slot is claimed (1) while its path is written, and live (2) once the
// handler may unlink it. Only the main thread registers.
struct Slot {
  std::atomic<int> State{0};
  char Path[PathCapacity];
};

Slot slots[SlotCount];

void RemoveAllAndDie(int signal) {
  for (Slot& slot : slots)
    if (slot.State.load() == 2) ::unlink(slot.Path);
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  ::sigemptyset(&standard.sa_mask);
  ::sigaction(signal, &standard, nullptr);
  ::raise(signal);
}

sigset_t HandledSet() {
  sigset_t set;
  ::sigemptyset(&set);
  for (int signal : HandledSignals) ::sigaddset(&set, signal);
  return set;
}

}  // namespace

void RemoveOnSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action {};
  action.sa_handler = RemoveAllAndDie;
  action.sa_mask = HandledSet();  // one handler at a time
  for (int signal : HandledSignals) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;  // started immune (nohup): stay so
    ::sigaction(signal, &action, nullptr);
  }
}

int Register(const char* path) {
  if (std::strlen(path) >= PathCapacity) return -1;
  for (int i = 0; i < SlotCount; ++i) {
    int expected = 0;
    if (!slots[i].State.compare_exchange_strong(expected, 1)) continue;
    std::strcpy(slots[i].Path, path);
    slots[i].State.store(2);
    return i;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot >= 0 && slot < SlotCount) slots[slot].State.store(0);
}

SignalsHeld::SignalsHeld() {
  const sigset_t set = HandledSet();
  ::sigprocmask(SIG_BLOCK, &set, nullptr);
}

SignalsHeld::~SignalsHeld() {
  const sigset_t set = HandledSet();
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace temporaries
