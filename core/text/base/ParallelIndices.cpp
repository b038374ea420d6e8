#include "core/text/base/ParallelIndices.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace velquor::text {

namespace {

class SharedIndices {
public:
    SharedIndices(std::size_t count, const std::function<void(std::size_t)>& work) : count_(count), work_(work) {}

    void drain() {
        for (auto index = next_++; index < count_ && !stopped_; index = next_++) {
            try {
                work_(index);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                if (!failure_) failure_ = std::current_exception();
                stopped_ = true;
            }
        }
    }

    void rethrowFailure() const {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    const std::size_t count_;
    const std::function<void(std::size_t)>& work_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::exception_ptr failure_;
};

}  // namespace

void forEachIndexInParallel(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& work) {
    SharedIndices indices(count, work);
    const auto cores = std::max(1u, std::thread::hardware_concurrency());
    const auto threads = std::min<std::size_t>(workers == 0 ? cores : workers, count);
    if (threads <= 1) {
        indices.drain();
    } else {
        std::vector<std::jthread> pool;
        pool.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) pool.emplace_back([&] { indices.drain(); });
    }
    indices.rethrowFailure();
}

}  // namespace velquor::text
