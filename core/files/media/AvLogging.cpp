#include "core/files/media/AvLogging.h"

#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace velquor::files {

void silenceLibraryLogging() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace velquor::files
