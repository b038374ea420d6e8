#include "core/files/FileMetadataReport.h"

#include "core/text/base/Ascii.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

constexpr std::array<std::u16string_view, 3> personalSections{u"Location", u"Capture", u"Description"};

constexpr std::array<std::u16string_view, 19> personalNames{
    u"author",      u"artist",     u"comment",
    u"comments",    u"copyright",  u"creator",
    u"description", u"software",   u"source",
    u"title",       u"xmp",        u"xml",
    u"itxt",        u"text",       u"generationparameters",
    u"prompt",      u"parameters", u"embeddedthumbnail",
    u"thumbnail",
};

template <std::size_t N>
bool listed(const std::array<std::u16string_view, N>& list, std::u16string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

std::u16string normalizedEntryName(std::u16string_view name) {
    std::u16string normalized;
    normalized.reserve(name.size());
    for (const char16_t unit : name) {
        if (unit == u' ' || unit == u'-') continue;
        normalized.push_back(text::asciiLowered(unit));
    }
    return normalized;
}

bool isPersonalEntryName(std::u16string_view normalizedName) { return listed(personalNames, normalizedName); }

bool isPersonalSection(std::u16string_view section) { return listed(personalSections, section); }

bool FileMetadataReport::containsLocation() const {
    return std::any_of(entries.begin(), entries.end(), [](const auto& entry) { return entry.section == u"Location"; });
}

bool FileMetadataReport::containsPersonalMetadata() const {
    return std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
        return isPersonalSection(entry.section) || isPersonalEntryName(normalizedEntryName(entry.name));
    });
}

}  // namespace velquor::files
