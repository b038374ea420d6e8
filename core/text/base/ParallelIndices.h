#pragma once

#include <cstddef>
#include <functional>

namespace velquor::text {

// Calls work(i) once for every i below `count`, on up to `workers` threads at a time (0: one
// per core), and returns when all calls have returned. Indices are handed out in ascending
// order; the first exception a call throws stops the handing out and is rethrown here.
void forEachIndexInParallel(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& work);

}  // namespace velquor::text
