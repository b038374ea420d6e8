#include "core/text/base/ParallelIndices.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velquor::text {

namespace {

// What the workers share: the next index to hand out and the first failure.
class SharedIndices {
public:
    SharedIndices(std::size_t count, const std::stop_token& stop) : count_(count), stop_(stop) {}

    std::optional<std::size_t> claim() {
        const std::lock_guard lock(mutex_);
        if (next_ == count_ || failure_ || stop_.stop_requested()) return std::nullopt;
        return next_++;
    }

    void fail(std::exception_ptr failure) {
        const std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::move(failure);
    }

    void drain(const std::function<void(std::size_t)>& work) {
        while (const auto index = claim()) {
            try {
                work(*index);
            } catch (...) {
                fail(std::current_exception());
                return;
            }
        }
    }

    std::size_t started() const { return next_; }
    const std::exception_ptr& failure() const { return failure_; }

private:
    std::mutex mutex_;
    const std::size_t count_;
    const std::stop_token& stop_;
    std::size_t next_ = 0;
    std::exception_ptr failure_;
};

}  // namespace

std::size_t forEachIndexInParallel(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& work,
                                   const std::stop_token& stop) {
    SharedIndices indices(count, stop);
    const auto cores = std::max(1u, std::thread::hardware_concurrency());
    const auto threads = std::min<std::size_t>(workers == 0 ? cores : workers, count);
    if (threads <= 1) {
        indices.drain(work);
    } else {
        std::vector<std::jthread> pool;
        pool.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) pool.emplace_back([&] { indices.drain(work); });
    }
    if (indices.failure()) std::rethrow_exception(indices.failure());
    return indices.started();
}

}  // namespace velquor::text
