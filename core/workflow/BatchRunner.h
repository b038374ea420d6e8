#pragma once

#include "core/workflow/BatchFileReport.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

namespace velquor::workflow {

struct BatchRunOptions {
    unsigned workers = 0;  // 0: one per core
    std::stop_token stop;  // once requested, no further file is started
    // Called after each file, one call at a time, on whichever thread finished it.
    std::function<void(std::size_t finished, std::size_t total)> progress;
};

// One per core, at least one.
unsigned defaultBatchWorkers();

// Runs work(0), work(1), ... work(count - 1) on a small pool of threads. Indexes are handed out
// in increasing order, and a stop request keeps any new one from starting while those under way
// finish, so the indexes run are always the first ones: the count of them is returned. The
// first exception a call throws stops the others and is rethrown once they have finished.
std::size_t runInParallel(std::size_t count, const std::function<void(std::size_t index)>& work,
                          const BatchRunOptions& options);

// rowFor(file) for every file, computed in parallel and returned in the files' order; after a
// stop request, the rows of the files that were started (the first ones).
template <class Row>
std::vector<Row> runBatch(std::span<const std::filesystem::path> files,
                          const std::function<Row(const std::filesystem::path&)>& rowFor,
                          const BatchRunOptions& options = {}) {
    std::vector<std::optional<Row>> slots(files.size());
    const auto finished = runInParallel(
        files.size(), [&](std::size_t i) { slots[i] = rowFor(files[i]); }, options);
    std::vector<Row> rows;
    rows.reserve(finished);
    for (std::size_t i = 0; i < finished; ++i) rows.push_back(std::move(*slots[i]));
    return rows;
}

// The batch table's rows: batchReport for every file.
std::vector<BatchFileReport> inspectBatch(std::span<const std::filesystem::path> files,
                                          const BatchRunOptions& options = {});

// A selection inspected as a batch: its inspectable files (inspectableBatchFiles, at most
// batchFileLimit), then batchFileResult for each. A stop request ends the folder walk as well as
// the runs, and progress counts the files inspected.
std::vector<BatchFileResult> inspectSelectionAsBatch(std::span<const std::filesystem::path> selection,
                                                     const BatchRunOptions& options = {});

}  // namespace velquor::workflow
