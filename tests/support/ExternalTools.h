#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velquor::testing {

// Runs a test tool (no shell) and returns its standard output; a failing tool throws with its
// standard error, so a broken fixture never passes for a clean one.
std::string runTool(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingDirectory = {});

// Every tag exiftool finds, as "Group:Tag" names (-a -G1), with their values as JSON text.
std::vector<std::pair<std::string, std::string>> exiftoolTags(const std::filesystem::path& file);

}  // namespace velquor::testing
