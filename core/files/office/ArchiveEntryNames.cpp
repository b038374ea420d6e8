#include "core/files/office/ArchiveEntryNames.h"

#include "core/files/FileSanitizerError.h"

#include "core/text/regex/Regex.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <charconv>
#include <set>

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

std::vector<std::string> entryNamesFromListing(std::string_view listing) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < listing.size()) {
        auto end = listing.find('\n', start);
        if (end == std::string_view::npos) end = listing.size();
        if (end > start) names.emplace_back(listing.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

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

bool archiveListingContainsSymbolicLink(std::string_view longListing) {
    constexpr std::string_view permissionLetters = "lrwxstST-";
    std::size_t start = 0;
    while (start < longListing.size()) {
        auto end = longListing.find('\n', start);
        if (end == std::string_view::npos) end = longListing.size();
        const auto line = longListing.substr(start, end - start);
        if (line.size() >= 10 && line.front() == 'l' &&
            line.substr(0, 10).find_first_not_of(permissionLetters) == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<std::int64_t> uncompressedByteTotal(std::string_view totals) {
    static const auto pattern = text::Regex::compile(u"\\b[0-9]+ bytes uncompressed\\b");
    const auto text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(totals.data(), static_cast<int32_t>(totals.size())));
    const std::u16string_view view(text.getBuffer(), static_cast<std::size_t>(text.length()));
    const auto scan = pattern->allMatches(view);
    if (!scan.complete || scan.matches.empty()) return std::nullopt;
    const auto range = scan.matches.front().range;
    std::string digits;
    for (auto i = range.utf16Location; i < range.utf16Location + range.utf16Length && view[i] != u' '; ++i) {
        digits.push_back(static_cast<char>(view[i]));
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::string literalMemberPattern(std::string_view name) {
    std::string pattern;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '[' || c == ']' || c == '*' || c == '?' || (i == 0 && c == '-')) pattern.push_back('\\');
        pattern.push_back(c);
    }
    return pattern;
}

}  // namespace velquor::files
