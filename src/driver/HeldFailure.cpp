#include "driver/HeldFailure.h"

#include <exception>

namespace {
std::exception_ptr HeldFailure;
}

void HoldFailure() {
  if (!HeldFailure) HeldFailure = std::current_exception();
}

void RethrowHeldFailure() {
  std::exception_ptr failure = HeldFailure;
  HeldFailure = nullptr;
  if (failure) std::rethrow_exception(failure);
}
