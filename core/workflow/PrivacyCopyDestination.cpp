#include "core/workflow/PrivacyCopyDestination.h"

#include <sys/stat.h>

#include <string>

namespace velquor::workflow {

namespace {

bool isTaken(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

std::filesystem::path uniquePrivacyDestination(const std::filesystem::path& source) {
    return uniquePrivacyDestination(source, [](const std::filesystem::path&) { return false; });
}

std::filesystem::path uniquePrivacyDestination(const std::filesystem::path& source,
                                               const std::function<bool(const std::filesystem::path&)>& isReserved) {
    const std::string name = source.filename().string();
    const auto dot = name.rfind('.');
    const bool split = dot != std::string::npos && dot != 0;
    const std::string base = split ? name.substr(0, dot) : name;
    const std::string extension = split && dot + 1 < name.size() ? name.substr(dot) : std::string();
    const auto folder = source.parent_path();

    auto candidate = folder / (base + "-privacy" + extension);
    for (int n = 2; isTaken(candidate) || isReserved(candidate); ++n) {
        candidate = folder / (base + "-privacy-" + std::to_string(n) + extension);
    }
    return candidate;
}

}  // namespace velquor::workflow
