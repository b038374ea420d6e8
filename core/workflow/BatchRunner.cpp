#include "core/workflow/BatchRunner.h"

#include "core/workflow/BatchCollector.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

namespace velquor::workflow {

namespace {

// What the workers share: the next index to hand out, the count finished, the first failure.
class SharedRun {
public:
    SharedRun(std::size_t count, const BatchRunOptions& options) : count_(count), options_(options) {}

    std::optional<std::size_t> claim() {
        const std::lock_guard lock(mutex_);
        if (next_ == count_ || failed_ || options_.stop.stop_requested()) return std::nullopt;
        return next_++;
    }

    void finished() {
        const std::lock_guard lock(mutex_);
        ++finished_;
        if (options_.progress) options_.progress(finished_, count_);
    }

    void fail(std::exception_ptr failure) {
        const std::lock_guard lock(mutex_);
        if (!failed_) failed_ = std::move(failure);
    }

    std::size_t started() const { return next_; }
    const std::exception_ptr& failure() const { return failed_; }

private:
    std::mutex mutex_;
    std::size_t count_;
    const BatchRunOptions& options_;
    std::size_t next_ = 0;
    std::size_t finished_ = 0;
    std::exception_ptr failed_;
};

void workOn(SharedRun& run, const std::function<void(std::size_t)>& work) {
    while (const auto index = run.claim()) {
        try {
            work(*index);
        } catch (...) {
            run.fail(std::current_exception());
            return;
        }
        run.finished();
    }
}

}  // namespace

unsigned defaultBatchWorkers() { return std::max(1u, std::thread::hardware_concurrency()); }

std::size_t runInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                          const BatchRunOptions& options) {
    SharedRun run(count, options);
    const std::size_t workers =
        std::min<std::size_t>(options.workers == 0 ? defaultBatchWorkers() : options.workers, count);
    if (workers <= 1) {
        workOn(run, work);
    } else {
        std::vector<std::jthread> threads;
        threads.reserve(workers);
        for (std::size_t i = 0; i < workers; ++i) threads.emplace_back([&] { workOn(run, work); });
    }
    if (run.failure()) std::rethrow_exception(run.failure());
    return run.started();
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
