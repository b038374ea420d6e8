#include "core/files/media/MediaModule.h"

#include "core/files/media/MediaModuleAbi.h"
#include "core/posix/FileDescriptor.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <variant>

namespace velquor::files {

namespace {

std::filesystem::path runningExecutable() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const auto relative = file.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

[[noreturn]] void throwUnavailable(int code, const std::filesystem::path& file, std::string_view detail = {}) {
    std::string what = "the media module " + file.string() + " could not be loaded";
    if (!detail.empty()) what.append(" (").append(detail).append(")");
    throw MediaModuleUnavailable(std::error_code(code, std::generic_category()), what);
}

// Opening first and loading the opened file through /proc means the file that passed the trust
// check is the file that is mapped, even if the name is replaced in between.
posix::FileDescriptor openTrustedModule(const std::filesystem::path& file) {
    posix::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) throwUnavailable(errno, file);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) throwUnavailable(errno, file);
    if (!isTrustedModuleFile(status, ::geteuid())) throwUnavailable(EPERM, file, "not a trusted file");
    return fd;
}

using LoadResult = std::variant<const FileInspector*, MediaModuleUnavailable>;

LoadResult loadFromKnownLocations() {
    const auto locations = mediaModuleLocations(runningExecutable());
    std::error_code missing;
    for (const auto& location : locations) {
        if (!std::filesystem::exists(location, missing)) continue;
        try {
            return &loadMediaModule(location);
        } catch (const MediaModuleUnavailable& error) {
            return error;
        }
    }
    return MediaModuleUnavailable(
        std::error_code(ENOENT, std::generic_category()),
        "the media module " + (locations.empty() ? std::string(mediaModuleFileName) : locations.front().string()) +
            " could not be loaded");
}

// Loaded once per process, on first use, from any thread; a failure is remembered too.
const FileInspector& loadedInspector() {
    static const LoadResult result = loadFromKnownLocations();
    if (const auto* error = std::get_if<MediaModuleUnavailable>(&result)) throw *error;
    return *std::get<const FileInspector*>(result);
}

}  // namespace

MediaModuleUnavailable::MediaModuleUnavailable(std::error_code code, const std::string& what)
    : std::system_error(code, what) {}

std::vector<std::filesystem::path> mediaModuleLocations(const std::filesystem::path& executable) {
    if (!executable.is_absolute()) return {};
    const auto programFolder = executable.parent_path();
    std::vector<std::filesystem::path> locations{
        (programFolder / VELQUOR_MEDIA_MODULE_FROM_PROGRAM / mediaModuleFileName).lexically_normal()};
    if (isInside(executable, VELQUOR_BUILD_TREE)) {
        locations.push_back(std::filesystem::path(VELQUOR_BUILD_MEDIA_MODULE_DIR) / mediaModuleFileName);
    }
    return locations;
}

bool isTrustedModuleFile(const struct stat& status, uid_t user) {
    const bool ownedByUs = status.st_uid == user || status.st_uid == 0;
    return S_ISREG(status.st_mode) && ownedByUs && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

const FileInspector& loadMediaModule(const std::filesystem::path& file) {
    const auto fd = openTrustedModule(file);
    const auto opened = "/proc/self/fd/" + std::to_string(fd.get());
    // Never closed: the inspector it hands out lives as long as the process.
    void* handle = ::dlopen(opened.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) throwUnavailable(ELIBBAD, file, ::dlerror());
    const auto entry = reinterpret_cast<MediaModuleEntry>(::dlsym(handle, mediaModuleEntryName));
    const FileInspector* inspector = entry == nullptr ? nullptr : entry(mediaModuleAbi);
    if (inspector == nullptr) throwUnavailable(ELIBBAD, file, "built for another version of Velquor");
    return *inspector;
}

FileMetadataReport MediaModuleInspector::inspect(const std::filesystem::path& file) const {
    return loadedInspector().inspect(file);
}

void MediaModuleInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                             const std::filesystem::path& destination) const {
    loadedInspector().exportPrivacyCopy(source, destination);
}

bool MediaModuleInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return loadedInspector().failsPrivacyVerification(report);
}

}  // namespace velquor::files
