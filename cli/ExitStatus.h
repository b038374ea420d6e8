#pragma once

namespace velquor::cli {

// The same for every command that reports.
enum ExitStatus : int {
    nothingToReport = 0,
    needsAttention = 1,
    badInputOrUsage = 2,
};

}  // namespace velquor::cli
