#pragma once

#include <filesystem>

namespace velquor::testing {

// A tmpfs of 64 KiB mounted on a new folder for the life of the object, so that a test can fill
// a disk; mounting needs root, and mounted() says whether it happened. Unmounted on every path
// out of the test.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::filesystem::path folder);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

}  // namespace velquor::testing
