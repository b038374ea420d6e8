#include "core/text/base/Utf.h"

namespace velquor::text {

namespace {

bool isContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::optional<std::u16string> decodeUtf8(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            text.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t scalar = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, scalar = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, scalar = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, scalar = lead & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (size - i < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            if (!isContinuation(bytes[i + k])) return std::nullopt;
            scalar = (scalar << 6) | (bytes[i + k] & 0x3F);
        }
        if (scalar < minimum || scalar > 0x10FFFF || isSurrogate(scalar)) return std::nullopt;
        appendScalar(text, scalar);
        i += length;
    }
    return text;
}

std::optional<std::u16string> decodeUtf8(std::string_view bytes) {
    return decodeUtf8(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void appendScalar(std::u16string& text, char32_t scalar) {
    if (scalar < 0x10000) {
        text.push_back(static_cast<char16_t>(scalar));
    } else {
        scalar -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (scalar >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (scalar & 0x3FF)));
    }
}

namespace {

std::size_t encodedLength(char32_t scalar) {
    if (scalar < 0x80) return 1;
    if (scalar < 0x800) return 2;
    if (scalar < 0x10000) return 3;
    return 4;
}

void appendUtf8(std::string& bytes, char32_t scalar) {
    switch (encodedLength(scalar)) {
        case 1:
            bytes.push_back(static_cast<char>(scalar));
            break;
        case 2:
            bytes.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
            break;
        case 3:
            bytes.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
            break;
        default:
            bytes.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
            break;
    }
}

}  // namespace

std::string encodeUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        appendUtf8(bytes, isSurrogate(scalar) ? 0xFFFD : scalar);
    }
    return bytes;
}

std::int64_t utf8ByteCount(std::u16string_view text) {
    std::int64_t count = 0;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        count += static_cast<std::int64_t>(isSurrogate(scalar) ? 3 : encodedLength(scalar));
    }
    return count;
}

}  // namespace velquor::text
