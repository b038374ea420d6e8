#include "core/files/media/MediaEntries.h"

#include "core/files/StableHash.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velquor::files {

namespace {

struct Replacement {
    std::u16string_view from;
    std::u16string_view to;
};

// Key space prefixes, then the separators: applied in this order, as plain text.
constexpr std::array<Replacement, 6> nameReplacements{{
    {u"com.apple.quicktime.", u""},
    {u"id3/", u""},
    {u"itsk/", u""},
    {u"mdta/", u""},
    {u"_", u" "},
    {u"-", u" "},
}};

struct CommonKey {
    std::u16string_view frame;
    std::u16string_view key;
};

// ID3v2 frames that have a common key, for the readers (raw AAC) that report them by frame id.
constexpr std::array<CommonKey, 16> id3CommonKeys{{
    {u"TALB", u"album"},
    {u"TCOM", u"composer"},
    {u"TCON", u"genre"},
    {u"TCOP", u"copyright"},
    {u"TDRC", u"date"},
    {u"TENC", u"encoded_by"},
    {u"TIT2", u"title"},
    {u"TLAN", u"language"},
    {u"TPE1", u"artist"},
    {u"TPE2", u"album_artist"},
    {u"TPE3", u"performer"},
    {u"TPOS", u"disc"},
    {u"TPUB", u"publisher"},
    {u"TRCK", u"track"},
    {u"TSSE", u"encoder"},
    {u"TYER", u"date"},
}};

std::u16string commonKey(std::u16string_view rawKey) {
    for (const auto& common : id3CommonKeys) {
        if (common.frame == rawKey) return std::u16string(common.key);
    }
    return std::u16string(rawKey);
}

struct SectionRule {
    std::u16string_view section;
    std::array<std::u16string_view, 9> words;  // empty words never match
};

// First match wins. "too" catches the QuickTime encoding-tool key, whose first character is the
// copyright sign. "date" catches the recording date, which libavformat reports under the plain
// key "date" for QuickTime, ID3, RIFF and Vorbis comments alike.
constexpr std::array<SectionRule, 2> wordRules{{
    {u"Location", {u"location", u"gps", u"iso6709"}},
    {u"Capture", {u"make", u"model", u"creation", u"created", u"encoder", u"software", u"tool", u"too", u"date"}},
}};

constexpr SectionRule descriptionWords{u"Description",
                                       {u"artist", u"album", u"copyright", u"comment", u"description", u"title"}};

std::u16string replacedAll(std::u16string text, const Replacement& replacement) {
    for (std::size_t at = text.find(replacement.from); at != std::u16string::npos;
         at = text.find(replacement.from, at + replacement.to.size())) {
        text.replace(at, replacement.from.size(), replacement.to);
    }
    return text;
}

bool containsAny(std::u16string_view text, const SectionRule& rule) {
    return std::any_of(rule.words.begin(), rule.words.end(), [&](std::u16string_view word) {
        return !word.empty() && text.find(word) != std::u16string_view::npos;
    });
}

}  // namespace

std::u16string mediaEntryName(std::u16string_view rawKey) {
    std::u16string name(rawKey);
    for (const auto& replacement : nameReplacements) name = replacedAll(std::move(name), replacement);
    return name;
}

std::u16string mediaEntrySection(std::u16string_view name) {
    const auto lowered = text::asciiLowercased(name);
    for (const auto& rule : wordRules) {
        if (containsAny(lowered, rule)) return std::u16string(rule.section);
    }
    if (isPersonalEntryName(normalizedEntryName(name)) || containsAny(lowered, descriptionWords)) {
        return std::u16string(descriptionWords.section);
    }
    return u"Media";
}

std::optional<FileMetadataEntry> mediaEntry(std::u16string_view rawKey, std::u16string_view value) {
    if (value.empty()) return std::nullopt;
    const std::u16string key = rawKey.empty() ? std::u16string(u"Metadata") : commonKey(rawKey);
    auto name = mediaEntryName(key);
    auto section = mediaEntrySection(name);
    return FileMetadataEntry{
        .id = key + u"-" + text::decimalText(stableByteHash(value)),
        .section = std::move(section),
        .name = std::move(name),
        .value = std::u16string(value),
    };
}

}  // namespace velquor::files
