#include "core/files/office/ArchiveValidation.h"

#include "core/files/FileSanitizerError.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <set>
#include <utility>

namespace velquor::files {

namespace {

[[noreturn]] void throwUnsafeEntry() { throw FileSanitizerError(FileSanitizerError::Case::unsafeArchiveEntry); }

std::vector<std::string_view> pathComponents(std::string_view name) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto slash = name.find_first_of("/\\", start);
        const auto end = slash == std::string_view::npos ? name.size() : slash;
        if (end > start) components.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

// The path as a case-insensitive, normalization-insensitive file system sees it: NFC, then
// lower case. Bytes that are not UTF-8 become U+FFFD, which can only make two names clash.
std::string collisionKey(const std::vector<std::string_view>& components) {
    std::string joined;
    for (const auto component : components) {
        if (!joined.empty()) joined.push_back('/');
        joined.append(component);
    }
    UErrorCode status = U_ZERO_ERROR;
    const auto* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) throwUnsafeEntry();
    auto text = nfc->normalize(icu::UnicodeString::fromUTF8(joined), status);
    if (U_FAILURE(status)) throwUnsafeEntry();
    text.toLower(icu::Locale::getRoot());
    std::string key;
    return text.toUTF8String(key);
}

bool isUnsafeName(std::string_view name, const std::vector<std::string_view>& components) {
    if (name.empty() || name.front() == '/') return true;
    if (name.find('\\') != std::string_view::npos || name.find('\0') != std::string_view::npos) return true;
    for (const auto component : components) {
        if (component == "." || component == "..") return true;
    }
    return false;
}

}  // namespace

void validateArchiveEntryNames(const std::vector<std::string>& names) {
    std::set<std::string> keys;
    std::set<std::string> fileKeys;
    std::set<std::string> folderKeys;
    for (const auto& name : names) {
        auto components = pathComponents(name);
        if (isUnsafeName(name, components)) throwUnsafeEntry();
        auto key = collisionKey(components);
        if (key.empty() || !keys.insert(key).second) throwUnsafeEntry();
        (name.back() == '/' ? folderKeys : fileKeys).insert(key);
        components.pop_back();
        while (!components.empty()) {
            folderKeys.insert(collisionKey(components));
            components.pop_back();
        }
    }
    for (const auto& key : fileKeys) {
        if (folderKeys.contains(key)) throwUnsafeEntry();
    }
}

std::optional<std::uint64_t> declaredTotalSize(const std::vector<ArchiveEntry>& entries) {
    std::uint64_t total = 0;
    for (const auto& entry : entries) {
        if (entry.declaredSize > UINT64_MAX - total) return std::nullopt;
        total += entry.declaredSize;
    }
    return total;
}

std::vector<std::string> entryNames(const std::vector<ArchiveEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const auto& entry : entries) names.push_back(entry.name);
    return names;
}

void validateArchive(const ZipArchive& archive, const std::vector<ArchiveEntry>& entries) {
    if (archive.byteCount() > ArchiveLimits::archiveBytes || entries.size() > ArchiveLimits::entryCount) {
        throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
    validateArchiveEntryNames(entryNames(entries));
    if (std::any_of(entries.begin(), entries.end(), [](const ArchiveEntry& entry) { return entry.symbolicLink; })) {
        throwUnsafeEntry();
    }
    // A sum that wraps around (a zip64 entry declaring 2^64 - 1) is over the limit too.
    const auto total = declaredTotalSize(entries);
    if (!total || *total > ArchiveLimits::uncompressedBytes) {
        throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
}

const ArchiveEntry* findEntry(const std::vector<ArchiveEntry>& entries, std::string_view name) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const ArchiveEntry& entry) { return entry.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

ValidatedArchive openValidatedArchive(const std::filesystem::path& file) {
    auto archive = ZipArchive::open(file);
    auto entries = archive.listEntries();
    if (entries.empty()) throwUnreadableFile();
    validateArchive(archive, entries);
    return {std::move(archive), std::move(entries)};
}

}  // namespace velquor::files
