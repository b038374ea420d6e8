#pragma once

#include "core/files/FileSanitizerError.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velquor::testing {

std::string readFile(const std::filesystem::path& file);

// The names in a directory, sorted: what an export left behind.
std::vector<std::string> namesIn(const std::filesystem::path& directory);

// The case of the FileSanitizerError the action throws; nothing when it throws none.
std::optional<files::FileSanitizerError::Case> errorOf(const std::function<void()>& action);

}  // namespace velquor::testing
