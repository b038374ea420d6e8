#pragma once

#include <filesystem>
#include <functional>

namespace velquor::workflow {

// The first free name for a privacy copy next to the source: photo.jpg gives photo-privacy.jpg,
// then photo-privacy-2.jpg, photo-privacy-3.jpg and onward. Anything at a path, a dangling
// symbolic link included, makes it taken. Nothing is created or reserved.
std::filesystem::path uniquePrivacyDestination(const std::filesystem::path& source);

// The same, passing over names that are spoken for although nothing is there yet: the copies
// that other files of a batch are being written to.
std::filesystem::path uniquePrivacyDestination(const std::filesystem::path& source,
                                               const std::function<bool(const std::filesystem::path&)>& isReserved);

}  // namespace velquor::workflow
