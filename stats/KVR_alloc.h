// Storage of the numeric containers. Every allocation goes through TryAllocate, so a
// test can make one fail without exhausting the machine.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// Gives Storage Count zeroed elements; false when memory cannot be had.
bool TryAllocate(std::vector<double>& Storage, size_t Count);

// A test hook: when set and it answers true for a request of Count doubles, that
// allocation fails. Returns the previous hook.
using TAllocationFailure = std::function<bool(size_t Count)>;
TAllocationFailure SetAllocationFailure(TAllocationFailure Hook);
