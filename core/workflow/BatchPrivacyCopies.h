#pragma once

#include "core/workflow/BatchFileReport.h"
#include "core/workflow/BatchRunner.h"

#include <cstddef>
#include <span>
#include <vector>

namespace velquor::workflow {

// What a batch copy did: the rows, each copied one with its copy or the reason it has none, and
// the counts of copies written and refused.
struct BatchCopyResult {
    std::vector<BatchFileReport> rows;
    std::size_t created = 0;
    std::size_t failed = 0;

    friend bool operator==(const BatchCopyResult&, const BatchCopyResult&) = default;
};

// How many rows a batch copy would copy (awaitsPrivacyCopy).
std::size_t privacyCopiesAwaited(std::span<const BatchFileReport> rows);

// Writes a verified privacy copy of every row that awaits one, next to its file under the first
// free name (uniquePrivacyDestination, where the names other copies of the same run are written
// to count as taken), never replacing anything. A written copy sets the row's outputURL and its
// status to "Created NAME."; a refused one sets the status to the reason; every other row stays
// as it was. The copies run on the runner's threads in the rows' order: a stop request keeps any
// further copy from starting, while those under way finish or leave nothing behind. Progress
// counts the copies done out of those awaited.
BatchCopyResult exportBatchPrivacyCopies(std::vector<BatchFileReport> rows, const BatchRunOptions& options = {});

}  // namespace velquor::workflow
