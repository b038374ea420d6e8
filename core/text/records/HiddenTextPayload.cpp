#include "core/text/records/HiddenTextPayload.h"

#include "core/text/base/TextConversions.h"

#include <functional>
#include <utility>

namespace velquor::text {

namespace {

std::u16string payloadId(HiddenTextPayload::Kind kind, const std::u16string& decodedText, std::int64_t byteCount) {
    const auto hash = std::hash<std::u16string>{}(decodedText);
    return std::u16string(rawValue(kind)) + u"-" + decimalText(hash) + u"-" + decimalText(byteCount);
}

}  // namespace

HiddenTextPayload::HiddenTextPayload(Kind payloadKind, std::u16string decoded, std::int64_t decodedBytes)
    : id(payloadId(payloadKind, decoded, decodedBytes)),
      kind(payloadKind),
      decodedText(std::move(decoded)),
      byteCount(decodedBytes) {}

}  // namespace velquor::text
