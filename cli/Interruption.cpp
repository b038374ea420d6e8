#include "cli/Interruption.h"

#include <unistd.h>

namespace velquor::cli {

InterruptionWatch::InterruptionWatch()
    : watcher_([this] {
          char byte = 0;
          if (posix::retryInterrupted([&] { return ::read(signals_.readEnd(), &byte, 1); }) == 1) stop_.request_stop();
      }) {}

// The end of the pipe ends the watcher, if no signal did.
InterruptionWatch::~InterruptionWatch() { signals_.release(); }

}  // namespace velquor::cli
