#include "HiddenTextPayload.h"

#include <functional>
#include <utility>

namespace velquor::text {

namespace {

std::u16string decimal(std::uint64_t value) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

std::u16string payloadId(HiddenTextPayload::Kind kind, const std::u16string& decodedText, std::int64_t byteCount) {
    const auto hash = std::hash<std::u16string>{}(decodedText);
    auto count = byteCount < 0 ? u"-" + decimal(static_cast<std::uint64_t>(-byteCount))
                               : decimal(static_cast<std::uint64_t>(byteCount));
    return std::u16string(rawValue(kind)) + u"-" + decimal(hash) + u"-" + count;
}

}  // namespace

HiddenTextPayload::HiddenTextPayload(Kind kind, std::u16string decodedText, std::int64_t byteCount)
    : id(payloadId(kind, decodedText, byteCount)),
      kind(kind),
      decodedText(std::move(decodedText)),
      byteCount(byteCount) {}

}  // namespace velquor::text
