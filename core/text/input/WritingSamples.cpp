#include "core/text/input/WritingSamples.h"

#include "core/posix/FileDescriptor.h"
#include "core/text/base/TextConversions.h"
#include "core/text/base/Whitespace.h"
#include "core/text/input/TextInputError.h"
#include "core/text/input/TextInputSafety.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

namespace velquor::text {

namespace {

constexpr std::array<std::string_view, 3> sampleExtensions{"txt", "md", "markdown"};

using posix::FileDescriptor;

bool isHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

bool hasSampleExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    const auto extension = asciiLowercased(name.substr(dot + 1));
    return std::find(sampleExtensions.begin(), sampleExtensions.end(), extension) != sampleExtensions.end();
}

// The names in a directory, sorted; an unreadable directory has none.
std::vector<std::string> sortedNames(int directory) {
    std::vector<std::string> names;
    // fdopendir takes the descriptor it is given, so it gets its own.
    FileDescriptor listing(::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing.valid()) return names;
    DIR* stream = ::fdopendir(listing.get());
    if (!stream) return names;
    listing.release();
    while (const auto* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

// The file's text when it is a regular file within the size limit holding UTF-8 text. Opened
// without following a link, and checked again once open, since the entry may have changed.
std::optional<std::u16string> sampleText(int directory, const std::string& name) {
    const FileDescriptor file(
        ::openat(directory, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) return std::nullopt;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maximumWritingSampleBytes) {
        return std::nullopt;
    }
    try {
        auto text = TextInputSafety::readText(file.get(), maximumWritingSampleBytes);
        if (trimmedWhitespaceAndNewlines(text).empty()) return std::nullopt;
        return text;
    } catch (const TextInputError&) {
        return std::nullopt;
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

struct OpenDirectory {
    FileDescriptor descriptor;
    std::vector<std::string> names;
    std::size_t next = 0;
};

OpenDirectory opened(FileDescriptor descriptor) {
    auto names = sortedNames(descriptor.get());
    return {std::move(descriptor), std::move(names), 0};
}

}  // namespace

std::vector<std::u16string> readWritingSamples(const std::filesystem::path& folder) {
    FileDescriptor root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.valid()) throw std::system_error(errno, std::generic_category(), folder.string());

    std::vector<std::u16string> samples;
    // Depth first, one open descriptor per level.
    std::vector<OpenDirectory> walk;
    walk.push_back(opened(std::move(root)));
    while (!walk.empty() && samples.size() < maximumWritingSamples) {
        auto& current = walk.back();
        if (current.next == current.names.size()) {
            walk.pop_back();
            continue;
        }
        const auto directory = current.descriptor.get();
        const std::string name = current.names[current.next++];
        if (isHidden(name)) continue;
        struct stat status {};
        if (::fstatat(directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(status.st_mode)) {
            if (walk.size() > maximumWritingSampleDepth) continue;
            FileDescriptor child(::openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (child.valid()) walk.push_back(opened(std::move(child)));
            continue;
        }
        if (!S_ISREG(status.st_mode) || !hasSampleExtension(name) || status.st_size > maximumWritingSampleBytes)
            continue;
        if (auto text = sampleText(directory, name)) samples.push_back(std::move(*text));
    }
    return samples;
}

}  // namespace velquor::text
