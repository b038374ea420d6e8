#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct zip;
struct zip_source;

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// A new zip archive built in memory, entry by entry, in the order they are added. Every entry
// is dated 1980-01-01 00:00, the earliest time a zip entry can hold, and carries no extra field,
// so that the archive tells neither when nor where (in which time zone) it was made, nor who
// owned the files. Failures are exportFailed.
class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    enum class Compression { deflated, stored };

    // The bytes as a new entry (stored when empty).
    void add(const std::string& name, std::string bytes, Compression compression = Compression::deflated);

    // The entry's compressed bytes as they are in `source`, which must stay open until
    // finish(): nothing is inflated or deflated again.
    void addCompressedCopy(const ZipArchive& source, const ArchiveEntry& entry);

    // Writes the central directory and returns the whole archive. Call it once.
    std::vector<std::uint8_t> finish();

private:
    void dateAndCompress(std::int64_t index, std::int32_t method, std::uint32_t level);

    zip_source* buffer_ = nullptr;
    zip* archive_ = nullptr;
    std::deque<std::string> held_;  // the bytes of added entries, read when the archive is finished
};

}  // namespace velquor::files
