#include "core/text/inspection/HiddenPayloadDecoding.h"

#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <algorithm>

namespace velquor::text {

namespace {

constexpr double minimumPrintableShare = 0.8;

bool isPrintableAscii(std::uint8_t byte) { return byte >= 0x20 && byte <= 0x7E; }
bool isAllowedLayoutByte(std::uint8_t byte) { return byte == 0x09 || byte == 0x0A || byte == 0x0D; }

using ByteRule = std::optional<std::uint8_t> (*)(char32_t);

std::optional<std::uint8_t> tagCharacterByte(char32_t scalar) {
    if (scalar >= 0xE0020 && scalar <= 0xE007E) return static_cast<std::uint8_t>(scalar - 0xE0000);
    return std::nullopt;
}

std::optional<std::uint8_t> variationSelectorByte(char32_t scalar) {
    if (scalar >= 0xFE00 && scalar <= 0xFE0F) return static_cast<std::uint8_t>(scalar - 0xFE00);
    if (scalar >= 0xE0100 && scalar <= 0xE01EF) return static_cast<std::uint8_t>(scalar - 0xE0100 + 0x10);
    return std::nullopt;
}

void decodeByteRuns(std::u16string_view text, HiddenTextPayload::Kind kind, ByteRule byteForScalar,
                    std::vector<HiddenTextPayload>& payloads) {
    InvisibleScalarRules rules(text);
    std::vector<std::uint8_t> run;
    const auto flush = [&] {
        if (const auto decoded = plausibleASCIIText(run)) {
            payloads.emplace_back(kind, *decoded, static_cast<std::int64_t>(run.size()));
        }
        run.clear();
    };
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        const auto byte = byteForScalar(scalar);
        // Only carriers can be preserved or extend a run, so ordinary text skips the rules.
        if (byte && !rules.shouldPreserveInvisibleScalar(offset)) {
            run.push_back(*byte);
        } else if (!run.empty()) {
            flush();
        }
    }
    flush();
}

}  // namespace

std::optional<std::u16string> plausibleASCIIText(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return std::nullopt;
    std::size_t printable = 0;
    for (const auto byte : bytes) {
        if (isPrintableAscii(byte)) {
            ++printable;
        } else if (!isAllowedLayoutByte(byte)) {
            return std::nullopt;
        }
    }
    if (static_cast<double>(printable) / static_cast<double>(bytes.size()) < minimumPrintableShare) return std::nullopt;
    const std::u16string decoded(bytes.begin(), bytes.end());
    const auto trimmed = trimmedWhitespaceAndNewlines(decoded);
    if (trimmed.empty()) return std::nullopt;
    return std::u16string(trimmed);
}

std::vector<HiddenTextPayload> hiddenPayloads(std::u16string_view text) {
    std::vector<HiddenTextPayload> payloads;
    decodeByteRuns(text, HiddenTextPayload::Kind::tagCharacters, tagCharacterByte, payloads);
    decodeByteRuns(text, HiddenTextPayload::Kind::variationSelectors, variationSelectorByte, payloads);
    return payloads;
}

}  // namespace velquor::text
