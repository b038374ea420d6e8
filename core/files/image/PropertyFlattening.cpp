#include "core/files/image/PropertyFlattening.h"

#include "core/text/base/IcuText.h"
#include "core/text/base/TextConversions.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <charconv>

namespace velquor::files {

namespace {

constexpr std::array<std::u16string_view, 9> tiffCaptureNames{u"Artist",       u"Copyright",    u"DateTime",
                                                              u"DocumentName", u"HostComputer", u"ImageDescription",
                                                              u"Make",         u"Model",        u"Software"};

constexpr std::array<std::u16string_view, 3> exifFileNames{u"ColorSpace", u"PixelXDimension", u"PixelYDimension"};

template <std::size_t N>
bool listed(const std::array<std::u16string_view, N>& list, std::u16string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

void eraseAll(std::u16string& text, std::u16string_view piece) {
    for (auto at = text.find(piece); at != std::u16string::npos; at = text.find(piece, at))
        text.erase(at, piece.size());
}

std::u16string joined(const std::vector<std::u16string>& parts, std::u16string_view separator) {
    std::u16string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += separator;
        result += parts[i];
    }
    return result;
}

std::u16string numberText(std::int64_t value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return text::widenedAscii({buffer.data(), static_cast<std::size_t>(end - buffer.data())});
}

// The shortest text that reads back as the same number, independent of the locale.
std::u16string numberText(double value) {
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return text::widenedAscii({buffer.data(), static_cast<std::size_t>(end - buffer.data())});
}

}  // namespace

std::u16string cleanedPropertyKey(std::u16string_view key) {
    std::u16string cleaned(key);
    eraseAll(cleaned, u"{");
    eraseAll(cleaned, u"}");
    eraseAll(cleaned, u"kCGImageProperty");
    std::replace(cleaned.begin(), cleaned.end(), u'_', u' ');
    return cleaned;
}

std::u16string sectionForPropertyPath(const std::vector<std::u16string>& path) {
    const auto spaced = text::lowercased(joined(path, u" "));
    const auto contains = [&](std::u16string_view piece) { return spaced.find(piece) != std::u16string::npos; };
    const auto raw = path.empty() ? std::u16string() : cleanedPropertyKey(path.back());
    if (contains(u"gps")) return u"Location";
    if (contains(u"tiff")) return listed(tiffCaptureNames, raw) ? u"Capture" : u"File";
    if (contains(u"exif") || contains(u"maker")) return listed(exifFileNames, raw) ? u"File" : u"Capture";
    if (contains(u"iptc") || contains(u"xmp")) return u"Description";
    const bool personalElement = std::any_of(path.begin(), path.end(), [](const std::u16string& element) {
        return isPersonalEntryName(text::lowercased(normalizedEntryName(cleanedPropertyKey(element))));
    });
    return personalElement ? u"Description" : u"File";
}

std::optional<std::u16string> renderProperty(const ImageProperty& value) {
    switch (value.kind) {
        case ImageProperty::Kind::text:
            return value.text;
        case ImageProperty::Kind::integer:
            return numberText(value.integer);
        case ImageProperty::Kind::real:
            return numberText(value.real);
        case ImageProperty::Kind::boolean:
            return value.boolean ? u"1" : u"0";
        case ImageProperty::Kind::array: {
            std::vector<std::u16string> parts;
            for (const auto& element : value.elements) {
                if (auto rendered = renderProperty(element)) parts.push_back(std::move(*rendered));
            }
            return joined(parts, u", ");
        }
        case ImageProperty::Kind::map:
        case ImageProperty::Kind::data:
            return std::nullopt;
    }
    return std::nullopt;
}

void flattenProperties(const ImageProperty& value, std::vector<std::u16string>& path,
                       std::vector<FileMetadataEntry>& entries) {
    if (value.kind == ImageProperty::Kind::map) {
        std::vector<const ImagePropertyMember*> sorted;
        sorted.reserve(value.members.size());
        for (const auto& member : value.members) sorted.push_back(&member);
        std::sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) { return a->key < b->key; });
        for (const auto* member : sorted) {
            path.push_back(member->key);
            flattenProperties(member->value, path, entries);
            path.pop_back();
        }
        return;
    }
    if (path.empty()) return;
    auto rendered = renderProperty(value);
    if (!rendered || rendered->empty()) return;
    entries.push_back(
        {joined(path, u"."), sectionForPropertyPath(path), cleanedPropertyKey(path.back()), std::move(*rendered)});
}

}  // namespace velquor::files
