#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velquor::files {

// How one child process runs. The child never gets a shell, a terminal, our standard streams or
// any of our other descriptors: standard input and standard error are the null device, standard
// output is a pipe (or the null device), and the environment holds only a UTF-8 locale, so that
// variables such as UNZIP or ZIPOPT cannot change what the tools do.
struct ChildRequest {
    std::filesystem::path program;
    std::vector<std::string> arguments{};
    std::optional<std::filesystem::path> workingDirectory{};
    // An open file handed to the child as sharedDescriptorNumber, so that it can name the file
    // as sharedDescriptorPath instead of by a path the tool might read as a pattern.
    int sharedDescriptor = -1;
    bool captureOutput = false;
    std::size_t maximumOutput = 0;  // bytes of standard output kept; reaching past it ends the child
    std::chrono::milliseconds timeLimit{60'000};
    // The largest file the child may write (its RLIMIT_FSIZE, set through /usr/bin/prlimit
    // before the tool starts); 0 leaves the limit alone.
    std::uint64_t maximumFileSize = 0;
    // Asked now and then while the child runs; true ends the child (a resource watch).
    std::function<bool()> overLimit{};
};

struct ChildOutcome {
    std::string output;
    bool truncated = false;  // output reached the cap and the child was ended
    bool timedOut = false;   // the time limit ran out and the child was ended
    bool overLimit = false;  // the watch or the file-size limit ended the child
    int exitStatus = -1;     // -1 when the child did not exit on its own

    bool exitedCleanly() const { return !truncated && !timedOut && !overLimit && exitStatus == 0; }
};

// Runs the child to its end and always waits for it, whatever happens: a child that is ended
// early gets SIGKILL and is reaped before this returns. Standard output is read in chunks of
// 64 KiB. A failed launch throws the system error.
ChildOutcome runChildProcess(const ChildRequest& request);

// The number and the name under which a child sees ChildRequest::sharedDescriptor.
inline constexpr int sharedDescriptorNumber = 3;
inline constexpr const char* sharedDescriptorPath = "/proc/self/fd/3";

}  // namespace velquor::files
