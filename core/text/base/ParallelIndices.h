#pragma once

#include <cstddef>
#include <functional>
#include <stop_token>

namespace velquor::text {

// Calls work(0), work(1), ... work(count - 1) on up to `workers` threads at a time (0: one per
// core), and returns when all calls under way have returned. Indices are handed out in ascending
// order, and a stop request keeps any new one from starting, so the indices run are always the
// first ones: their count is returned. The first exception a call throws stops the handing out
// and is rethrown once the others have finished.
std::size_t forEachIndexInParallel(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& work,
                                   const std::stop_token& stop = {});

}  // namespace velquor::text
