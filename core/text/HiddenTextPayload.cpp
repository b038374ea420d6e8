#include "HiddenTextPayload.h"

#include "TextConversions.h"

#include <functional>
#include <utility>

namespace velquor::text {

namespace {

std::u16string payloadId(HiddenTextPayload::Kind kind, const std::u16string& decodedText, std::int64_t byteCount) {
    const auto hash = std::hash<std::u16string>{}(decodedText);
    return std::u16string(rawValue(kind)) + u"-" + decimalText(hash) + u"-" + decimalText(byteCount);
}

}  // namespace

HiddenTextPayload::HiddenTextPayload(Kind kind, std::u16string decodedText, std::int64_t byteCount)
    : id(payloadId(kind, decodedText, byteCount)),
      kind(kind),
      decodedText(std::move(decodedText)),
      byteCount(byteCount) {}

}  // namespace velquor::text
