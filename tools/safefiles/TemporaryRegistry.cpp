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
// handler may unlink it. Only the main thread registers. Both tables are
// zero from the start, with no code run at start-up: the paths (4 MB) take
// memory only for the slots used.
std::atomic<int> states[SlotCount];
char paths[SlotCount][PathCapacity];

void RemoveAllAndDie(int signal) {
  for (int i = 0; i < SlotCount; ++i)
    if (states[i].load() == 2) ::unlink(paths[i]);
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
    if (!states[i].compare_exchange_strong(expected, 1)) continue;
    std::strcpy(paths[i], path);
    states[i].store(2);
    return i;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot >= 0 && slot < SlotCount) states[slot].store(0);
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
