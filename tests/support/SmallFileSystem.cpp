#include "tests/support/SmallFileSystem.h"

#include <sys/mount.h>
#include <unistd.h>

namespace velquor::testing {

SmallFileSystem::SmallFileSystem(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directory(folder_);
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) ::umount(folder_.c_str());
}

}  // namespace velquor::testing
