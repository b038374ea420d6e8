#include "core/files/WorkingDirectory.h"

#include "core/files/FileExportSafety.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace velquor::files {

namespace {

// Folders first get rwx for their owner, so that their contents can be listed and removed.
void openUpFolders(const std::filesystem::path& folder) noexcept {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return;
    ::chmod(folder.c_str(), 0700);
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        openUpFolders(it->path());
    }
}

}  // namespace

void createPrivateDirectory(const std::filesystem::path& path) {
    if (::mkdir(path.c_str(), 0700) != 0) throw std::system_error(errno, std::generic_category(), path.string());
}

void removeTree(const std::filesystem::path& path) noexcept {
    openUpFolders(path);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

WorkingDirectory::WorkingDirectory(std::string_view prefix)
    : path_(std::filesystem::temp_directory_path() / (std::string(prefix) + FileExportSafety::randomUUIDString())) {
    createPrivateDirectory(path_);
}

WorkingDirectory::~WorkingDirectory() { removeTree(path_); }

}  // namespace velquor::files
