#include "tests/core/files/FileTestSupport.h"

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

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
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
