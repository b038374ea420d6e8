#include "tests/support/FileTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace velquor::testing {

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> namesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<files::FileSanitizerError::Case> errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const files::FileSanitizerError& error) {
        return error.errorCase();
    }
    return std::nullopt;
}

}  // namespace velquor::testing
