#include "stats/KVR_alloc.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace {
TAllocationFailure& FailureHook() {
  static TAllocationFailure Hook;
  return Hook;
}
}  // namespace

bool TryAllocate(std::vector<double>& Storage, size_t Count) {
  if (FailureHook() && FailureHook()(Count)) return false;
  try {
    Storage.assign(Count, 0.0);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

TAllocationFailure SetAllocationFailure(TAllocationFailure Hook) { return std::exchange(FailureHook(), std::move(Hook)); }
