#include "core/workflow/BatchCollector.h"

#include "core/posix/FileDescriptor.h"

#include "core/files/EntryOrder.h"
#include "core/files/FileTypes.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/workflow/FileSelection.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velquor::workflow {

namespace {

// Folders that other systems show as one document or application; what is inside them is not
// a set of separate files.
constexpr std::array<std::string_view, 6> packageExtensions{"app", "bundle", "framework", "key", "numbers", "pages"};

struct FolderEntry {
    std::string name;
    std::u16string shownName;
    bool isFolder;
};

struct FolderIdentity {
    dev_t device;
    ino_t inode;

    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// One folder being walked: its sorted entries, how far the walk has come, and its descriptor, which
// the folders inside are opened from, so that no path ever has to fit in PATH_MAX.
struct OpenFolder {
    std::filesystem::path path;
    posix::FileDescriptor descriptor;
    FolderIdentity identity;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
};

bool isHidden(std::string_view name) { return name.starts_with('.'); }

bool isPackage(const std::string& name) {
    const auto extension = files::lowercasedExtension(name);
    return std::find(packageExtensions.begin(), packageExtensions.end(), extension) != packageExtensions.end();
}

// A regular file or a folder, judged without following a symbolic link; nothing for the rest.
std::optional<bool> folderOrFile(int folder, const dirent& entry) {
    if (entry.d_type == DT_REG) return false;
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN) return std::nullopt;
    struct stat status {};
    if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    if (S_ISREG(status.st_mode)) return false;
    if (S_ISDIR(status.st_mode)) return true;
    return std::nullopt;
}

void sortForDisplay(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int order = files::compareNamesForDisplay(a.shownName, b.shownName);
        return order != 0 ? order < 0 : a.name < b.name;
    });
}

// Reads the visible entries of the folder open at `descriptor`.
std::optional<OpenFolder> readFolder(const std::filesystem::path& path, posix::FileDescriptor descriptor) {
    if (!descriptor.valid()) return std::nullopt;
    const int listing = ::fcntl(descriptor.get(), F_DUPFD_CLOEXEC, 0);
    if (listing < 0) return std::nullopt;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::fdopendir(listing), ::closedir);
    if (!folder) {
        ::close(listing);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0) return std::nullopt;
    OpenFolder open{path, std::move(descriptor), {status.st_dev, status.st_ino}, {}, 0};
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (isHidden(name)) continue;
        if (const auto isFolder = folderOrFile(listing, *entry)) {
            open.entries.push_back({name, files::metadataText(name), *isFolder});
        }
    }
    sortForDisplay(open.entries);
    return open;
}

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The folder the person selected: a symbolic link to it is followed.
std::optional<OpenFolder> openSelectedFolder(const std::filesystem::path& path) {
    return readFolder(path, posix::FileDescriptor(::open(path.c_str(), folderFlags)));
}

// A folder inside the walk, opened from its parent without following a symbolic link, so that a
// folder swapped for a link after it was listed is not entered.
std::optional<OpenFolder> openInnerFolder(const OpenFolder& parent, const std::string& name) {
    return readFolder(parent.path / name,
                      posix::FileDescriptor(::openat(parent.descriptor.get(), name.c_str(), folderFlags | O_NOFOLLOW)));
}

class Collection {
public:
    using Keep = bool (*)(const std::filesystem::path& file);

    Collection(Keep keep, std::size_t limit, std::stop_token stop)
        : keep_(keep), limit_(limit), stop_(std::move(stop)) {}

    bool isDone() const { return files_.size() >= limit_ || stop_.stop_requested(); }

    void addIfKept(const std::filesystem::path& file) {
        if (keep_(file)) files_.push_back(file);
    }

    // Depth first, with an explicit stack: a deep tree cannot exhaust the call stack, and the
    // folders on the stack are the ones being walked, which no bind mount may enter twice.
    void walk(const std::filesystem::path& root) {
        std::vector<OpenFolder> stack;
        if (auto folder = openSelectedFolder(root)) stack.push_back(std::move(*folder));
        while (!stack.empty() && !isDone()) {
            auto& top = stack.back();
            if (top.next == top.entries.size()) {
                stack.pop_back();
                continue;
            }
            const FolderEntry& entry = top.entries[top.next++];
            if (!entry.isFolder) {
                addIfKept(top.path / entry.name);
            } else if (!isPackage(entry.name)) {
                enter(stack, openInnerFolder(top, entry.name));
            }
        }
    }

    std::vector<std::filesystem::path> take() { return std::move(files_); }

private:
    static void enter(std::vector<OpenFolder>& stack, std::optional<OpenFolder> folder) {
        if (!folder) return;
        const bool walking = std::any_of(stack.begin(), stack.end(),
                                         [&](const OpenFolder& open) { return open.identity == folder->identity; });
        if (!walking) stack.push_back(std::move(*folder));
    }

    Keep keep_;
    std::size_t limit_;
    std::stop_token stop_;
    std::vector<std::filesystem::path> files_;
};

}  // namespace

namespace {

std::vector<std::filesystem::path> collect(std::span<const std::filesystem::path> selection, Collection collection) {
    for (const auto& path : selection) {
        if (collection.isDone()) break;
        // The user chose this path, so a symbolic link to a folder is followed here, and only here.
        if (isExistingFolder(path)) {
            collection.walk(path);
        } else {
            collection.addIfKept(path);
        }
    }
    return collection.take();
}

}  // namespace

std::vector<std::filesystem::path> inspectableBatchFiles(std::span<const std::filesystem::path> selection,
                                                         std::size_t limit, std::stop_token stop) {
    return collect(selection, Collection(files::isInspectable, limit, std::move(stop)));
}

std::vector<std::filesystem::path> selectedFiles(std::span<const std::filesystem::path> selection,
                                                 bool (*keep)(const std::filesystem::path& file),
                                                 std::stop_token stop) {
    return collect(selection, Collection(keep, std::numeric_limits<std::size_t>::max(), std::move(stop)));
}

}  // namespace velquor::workflow
