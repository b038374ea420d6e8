#include "core/workflow/BatchRunner.h"

#include "core/workflow/BatchCollector.h"

#include "core/text/base/ParallelIndices.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace velquor::workflow {

unsigned defaultBatchWorkers() { return std::max(1u, std::thread::hardware_concurrency()); }

std::size_t runInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                          const BatchRunOptions& options) {
    std::mutex progressMutex;
    std::size_t finished = 0;
    const auto reported = [&](std::size_t index) {
        work(index);
        const std::lock_guard lock(progressMutex);
        ++finished;
        if (options.progress) options.progress(finished, count);
    };
    return text::forEachIndexInParallel(count, options.workers == 0 ? defaultBatchWorkers() : options.workers, reported,
                                        options.stop);
}

std::vector<BatchFileReport> inspectBatch(std::span<const std::filesystem::path> files,
                                          const BatchRunOptions& options) {
    return runBatch<BatchFileReport>(
        files, [](const std::filesystem::path& file) { return batchReport(file); }, options);
}

std::vector<BatchFileResult> inspectSelectionAsBatch(std::span<const std::filesystem::path> selection,
                                                     const BatchRunOptions& options) {
    const auto files = inspectableBatchFiles(selection, batchFileLimit, options.stop);
    return runBatch<BatchFileResult>(files, batchFileResult, options);
}

}  // namespace velquor::workflow
