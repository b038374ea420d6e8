#pragma once

namespace velquor::cli {

// The same for every command that reports.
enum ExitStatus : int {
    nothingToReport = 0,
    needsAttention = 1,
    badInputOrUsage = 2,
    interrupted = 130,  // Ctrl-C, SIGTERM or a hang-up stopped a batch; 130 is how shells report an interrupted command
};

}  // namespace velquor::cli
