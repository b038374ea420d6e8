#pragma once

#include <cstddef>

namespace velquor::workflow {

// How far a batch has come, for a determinate progress bar: the files finished out of the
// total. The total is 0 while the batch is still looking for its files, and when none runs.
struct BatchProgress {
    std::size_t finished = 0;
    std::size_t total = 0;

    friend bool operator==(const BatchProgress&, const BatchProgress&) = default;
};

}  // namespace velquor::workflow
