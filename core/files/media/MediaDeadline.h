#pragma once

#include <chrono>

extern "C" {
#include <libavformat/avio.h>
}

namespace velquor::files {

// The time one inspection or one export may take. libavformat polls it through its interrupt
// callback and our own I/O callbacks check it too, so no file can keep a demuxer or a muxer busy
// for longer than its budget.
class MediaDeadline {
public:
    explicit MediaDeadline(std::chrono::steady_clock::duration budget)
        : end_(std::chrono::steady_clock::now() + budget) {}
    MediaDeadline(const MediaDeadline&) = delete;
    MediaDeadline& operator=(const MediaDeadline&) = delete;

    bool passed() const { return std::chrono::steady_clock::now() >= end_; }

    // Points at this deadline, which must outlive every context that holds the callback.
    AVIOInterruptCB interruptCallback() const { return {&MediaDeadline::interrupts, const_cast<MediaDeadline*>(this)}; }

private:
    static int interrupts(void* deadline) { return static_cast<const MediaDeadline*>(deadline)->passed() ? 1 : 0; }

    std::chrono::steady_clock::time_point end_;
};

}  // namespace velquor::files
