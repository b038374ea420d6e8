#include "core/files/media/AvContextRules.h"

#include <cerrno>
#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace velquor::files {

namespace {

int refuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

}  // namespace

void silenceLibraryLogging() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

void confineToOwnIo(AVFormatContext& context, AVIOContext* io, const MediaDeadline& deadline) {
    context.pb = io;
    context.flags |= AVFMT_FLAG_CUSTOM_IO;
    context.interrupt_callback = deadline.interruptCallback();
    context.io_open = refuseNestedOpen;
}

}  // namespace velquor::files
