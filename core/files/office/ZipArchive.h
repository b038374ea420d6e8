#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace velquor::files {

// The limits that keep a hostile archive from exhausting memory or time.
namespace ArchiveLimits {
inline constexpr std::uint64_t archiveBytes = 268'435'456;
inline constexpr std::size_t entryCount = 20'000;
inline constexpr std::uint64_t uncompressedBytes = 268'435'456;
// The bytes of all entry names (one line each), and of the listing built from them.
inline constexpr std::uint64_t nameListingBytes = 5'000'000;
inline constexpr std::uint64_t longListingBytes = 8'388'608;
inline constexpr std::uint64_t inspectedPartBytes = 1'000'000;
}  // namespace ArchiveLimits

// One entry of the central directory, as the archive declares it.
struct ArchiveEntry {
    static constexpr std::uint16_t stored = 0;
    static constexpr std::uint16_t deflated = 8;

    std::uint64_t index = 0;
    std::string name;  // UTF-8; names stored in the old DOS code page are converted
    std::uint64_t declaredSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint16_t compressionMethod = 0;
    bool symbolicLink = false;  // a Unix mode of type "l"

    bool isFolder() const { return name.ends_with('/'); }
};

// A zip archive opened read-only through libzip with its consistency checks on: every local
// header must agree with its central-directory entry, so what was listed and validated is what
// gets read. Not for use from two threads at once.
class ZipArchive {
public:
    // Throws the system error when the file cannot be opened, unreadableFile when it is not a
    // regular file or not a zip archive, archiveResourceLimitExceeded when it is larger than
    // the archive limit, and unsafeArchiveEntry when its headers contradict one another.
    static ZipArchive open(const std::filesystem::path& file);

    // The same for an archive held in memory (a document embedded in another one).
    static ZipArchive fromBytes(std::string bytes);

    ~ZipArchive();
    ZipArchive(ZipArchive&& other) noexcept;
    ZipArchive& operator=(ZipArchive&&) = delete;
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    std::uint64_t byteCount() const { return byteCount_; }

    // The entries in central-directory order. An encrypted entry is unreadableFile at once;
    // more entries than the limit, or names past the listing caps, archiveResourceLimitExceeded.
    std::vector<ArchiveEntry> listEntries() const;

    // Hands the entry's inflated bytes to `consume`, in order, until `maximumBytes` were handed
    // over or the entry ends. Bytes are counted as they inflate: an entry that inflates past
    // its declared size is archiveResourceLimitExceeded, whatever the cap; one that cannot be
    // inflated or fails its checksum is unreadableFile.
    void read(const ArchiveEntry& entry, std::uint64_t maximumBytes,
              const std::function<void(std::string_view chunk)>& consume) const;

    // At most `maximumBytes` of the entry, or all of it, with the same checks.
    std::string readPart(const ArchiveEntry& entry, std::uint64_t maximumBytes = UINT64_MAX) const;

    // The libzip handle, for a writer that copies compressed entries from here.
    zip* handle() const { return archive_; }

private:
    ZipArchive(zip* archive, std::uint64_t byteCount, std::unique_ptr<std::string> bytes);

    zip* archive_;
    std::uint64_t byteCount_;
    std::unique_ptr<std::string> bytes_;  // what an archive opened from memory reads
};

}  // namespace velquor::files
