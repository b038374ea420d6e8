#include "cli/StagedTexts.h"

#include "cli/ChildProcess.h"
#include "cli/TextInput.h"

#include <cerrno>
#include <charconv>
#include <system_error>

namespace velquor::cli {

namespace {

// A listing of this many bytes would name hundreds of thousands of files.
constexpr std::size_t listingLimit = 64 << 20;
constexpr std::size_t headerLimit = 256;

bool isHexObjectId(std::string_view id) {
    return (id.size() == 40 || id.size() == 64) && id.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool isScannedStatus(char status) { return status == 'A' || status == 'C' || status == 'M' || status == 'R'; }

// ":100644 100644 <old> <new> M" is followed by one path, or two for a copy or a rename (the
// new one last).
std::vector<std::string_view> split(std::string_view listing) {
    std::vector<std::string_view> fields;
    while (!listing.empty()) {
        const auto end = listing.find('\0');
        fields.push_back(listing.substr(0, end));
        if (end == std::string_view::npos) break;
        listing.remove_prefix(end + 1);
    }
    return fields;
}

[[noreturn]] void gitFailed(const std::string& what) { throw StagedReadError(what); }

std::string gitListing(ChildProcess::Clock::time_point deadline) {
    ChildProcess git({"git", "-c", "core.fsmonitor=false", "diff", "--cached", "--raw", "-z", "--no-abbrev",
                      "--no-renames", "--no-ext-diff", "--no-textconv", "--diff-filter=ACMR"},
                     deadline);
    auto listing = git.readAll(listingLimit);
    if (git.finish() != 0) gitFailed("git diff --cached failed (is this a git repository?)");
    return listing;
}

std::optional<std::size_t> blobSize(const std::string& header, const std::string& objectId) {
    const std::string prefix = objectId + " blob ";
    if (!header.starts_with(prefix)) return std::nullopt;
    std::size_t size = 0;
    const char* first = header.data() + prefix.size();
    const char* last = header.data() + header.size();
    const auto [end, error] = std::from_chars(first, last, size);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return size;
}

// One request, one answer: "<id> blob <size>\n", the bytes, "\n". A blob over the limit is read
// past, never kept.
std::optional<std::vector<std::uint8_t>> readBlob(ChildProcess& catFile, const std::string& objectId) {
    catFile.write(objectId + "\n");
    const auto header = catFile.readLine(headerLimit);
    if (!header) gitFailed("git cat-file --batch answered out of order");
    const auto size = blobSize(*header, objectId);
    if (!size) gitFailed("git cat-file --batch answered out of order");
    std::optional<std::vector<std::uint8_t>> bytes;
    if (*size <= static_cast<std::size_t>(textInputLimit)) {
        bytes = catFile.read(*size);
    } else {
        for (std::size_t left = *size; left > 0;) {
            const auto part = std::min<std::size_t>(left, 1 << 20);
            catFile.read(part);
            left -= part;
        }
    }
    if (catFile.read(1) != std::vector<std::uint8_t>{'\n'}) gitFailed("git cat-file --batch answered out of order");
    return bytes;
}

bool isTextCandidate(const StagedEntry& entry) { return entry.mode == "100644" || entry.mode == "100755"; }

}  // namespace

std::vector<StagedEntry> parseStagedListing(std::string_view listing) {
    std::vector<StagedEntry> entries;
    const auto fields = split(listing);
    for (std::size_t i = 0; i < fields.size();) {
        const auto meta = fields[i];
        // ":<old mode> <new mode> <old id> <new id> <status>[score]"
        if (!meta.starts_with(':')) break;
        const auto parts = [&] {
            std::vector<std::string_view> words;
            std::string_view rest = meta.substr(1);
            while (!rest.empty()) {
                const auto space = rest.find(' ');
                words.push_back(rest.substr(0, space));
                if (space == std::string_view::npos) break;
                rest.remove_prefix(space + 1);
            }
            return words;
        }();
        if (parts.size() != 5 || parts[4].empty()) break;
        const char status = parts[4].front();
        const std::size_t pathCount = (status == 'C' || status == 'R') ? 2 : 1;
        if (i + pathCount >= fields.size()) break;
        const auto path = fields[i + pathCount];
        i += pathCount + 1;
        if (!isScannedStatus(status) || !isHexObjectId(parts[3]) || path.empty()) continue;
        entries.push_back({std::string(parts[1]), std::string(parts[3]), std::string(path)});
    }
    return entries;
}

StagedTexts::StagedTexts(std::chrono::seconds timeLimit)
    : deadline_(ChildProcess::Clock::now() + timeLimit),
      entries_(parseStagedListing(gitListing(deadline_))),
      catFile_({"git", "cat-file", "--batch"}, deadline_) {}

std::vector<TextScanInput> StagedTexts::next(std::size_t maximum, std::size_t byteBudget) {
    std::vector<TextScanInput> inputs;
    std::size_t bytes = 0;
    while (next_ < entries_.size() && inputs.size() < maximum && bytes <= byteBudget) {
        const auto& entry = entries_[next_++];
        TextScanInput input{.shownPath = entry.path, .file = std::nullopt, .bytes = std::nullopt};
        if (isTextCandidate(entry)) input.bytes = readBlob(catFile_, entry.objectId);
        if (input.bytes) bytes += input.bytes->size();
        inputs.push_back(std::move(input));
    }
    if (next_ == entries_.size() && inputs.empty() && catFile_.finish() != 0) gitFailed("git cat-file --batch failed");
    return inputs;
}

}  // namespace velquor::cli
