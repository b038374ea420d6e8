#pragma once

#include "cli/ChildProcess.h"
#include "cli/TextScan.h"

#include <chrono>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace velquor::cli {

// git could not be run, failed, or answered what it never answers; what() says which, for people.
class StagedReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A staged file as `git diff --cached --raw -z` lists it.
struct StagedEntry {
    std::string mode;  // "100644"; "120000" is a symbolic link, "160000" a submodule
    std::string objectId;
    std::string path;
};

// The added, copied, modified and renamed files of a raw, NUL-separated listing; nothing that is
// not well formed is taken, and deletions never are.
std::vector<StagedEntry> parseStagedListing(std::string_view listing);

// What is staged in the git repository of the current folder: each such file's blob from the
// index, all read by one `git cat-file --batch`, so the working tree does not matter. Symbolic
// links, submodules and blobs over the text limit come without bytes, to be skipped. Both git
// processes run without a shell and are killed at the deadline. Every call throws
// StagedReadError, or std::system_error when git cannot be started or does not answer in time.
class StagedTexts {
public:
    explicit StagedTexts(std::chrono::seconds timeLimit);

    // The next staged files, at most `maximum` of them and, past the first, not much more than
    // `byteBudget` bytes; none when all have been read.
    std::vector<TextScanInput> next(std::size_t maximum, std::size_t byteBudget);

private:
    ChildProcess::Clock::time_point deadline_;
    std::vector<StagedEntry> entries_;
    std::size_t next_ = 0;
    ChildProcess catFile_;
};

}  // namespace velquor::cli
