#pragma once

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
// processes run without a shell and are killed at the deadline. Throws StagedReadError, or
// std::system_error when git cannot be started or does not answer in time.
std::vector<TextScanInput> stagedScanInputs(std::chrono::seconds timeLimit);

}  // namespace velquor::cli
