#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

struct ChildResult {
    int exitStatus = -1;  // -1 when the child did not exit normally
    std::string out;
    std::string err;
};

// Runs a program (no shell) with the given standard input, in `workingDirectory` when one is
// given, and collects what it prints.
ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& standardInput = {}, const std::filesystem::path& workingDirectory = {});

}  // namespace velquor::testing
